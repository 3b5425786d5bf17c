#include "text/lang_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "text/lang_tables.h"
#include "text/languages.h"

namespace fwup {
namespace {

// UiLangId is process-wide: every test that changes it puts the old value back.
class ScopedUiLang {
  public:
    explicit ScopedUiLang(std::uint16_t id) : saved_(UiLangId.exchange(id)) {}
    ~ScopedUiLang() { UiLangId.store(saved_); }
    ScopedUiLang(const ScopedUiLang&) = delete;
    ScopedUiLang& operator=(const ScopedUiLang&) = delete;

  private:
    std::uint16_t saved_;
};

std::wstring TextIn(std::uint16_t langId, int id) {
    ScopedUiLang lang(langId);
    return GetLangText(id);
}

std::wstring English(int id) {
    return TextIn(LANG_ENGLISH, id);
}

std::vector<std::wstring> LinesOf(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring_view::npos;
         start = end + 2) {
        lines.emplace_back(text.substr(start, end - start));
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// Whole words only, so that "to" inside an Italian word does not count.
bool ContainsWord(std::wstring_view text, std::wstring_view word) {
    for (std::size_t at = text.find(word); at != std::wstring_view::npos;
         at = text.find(word, at + 1)) {
        const bool startsWord = at == 0 || !IsAsciiLetter(text[at - 1]);
        const std::size_t after = at + word.size();
        const bool endsWord = after == text.size() || !IsAsciiLetter(text[after]);
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
}

constexpr int kButtonIds[] = {TXT_COMPLETE, TXT_START, TXT_EXIT, TXT_CONFIRM, TXT_YES, TXT_NO};
constexpr int kTranslatedIds[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                  14, 15, 16, 17, 18, 21, 22, 23, 24, 25, 26, 28, 29, 30,
                                  31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43};
constexpr int kLastId = TXT_PRINTERS_ATTACHED;

struct Language {
    const char* name;
    std::uint16_t id;
    // Besides ASCII, the only characters its texts may hold, and a block of its script allowed
    // whole; a mis-decoded source file shows up as characters outside these.
    std::wstring_view letters;
    wchar_t scriptFirst = 0;
    wchar_t scriptLast = 0;
    // Texts that are the same words as the English ones ("No" in Italian and Spanish).
    std::vector<int> sameAsEnglish{};
    // English words that are words of this language too (Dutch "is", Czech "to").
    std::vector<std::wstring_view> ownWords{};
};

const Language kEnglish{.name = "English", .id = LANG_ENGLISH, .letters = L"\u2026"};
const Language kItalian{.name = "Italian",
                        .id = LANG_ITALIAN,
                        .letters = L"\u00E0\u00E8\u00E9\u00EC\u00F2\u00F9\u00C8\u201C\u201D\u2026",
                        .sameAsEnglish = {TXT_NO, TXT_FIRMWARE}};
const Language kTurkish{.name = "Turkish",
                        .id = LANG_TURKISH,
                        .letters =
                            L"\u00E7\u011F\u0131\u00F6\u015F\u00FC\u00C7\u011E\u0130"
                            L"\u00D6\u015E\u00DC\u00E2\u00EE\u00FB\u201C\u201D\u2026"};
const Language kRussian{.name = "Russian",
                        .id = LANG_RUSSIAN,
                        .letters = L"\u00AB\u00BB\u2026",
                        .scriptFirst = 0x0410,
                        .scriptLast = 0x0451};
const Language kHebrew{.name = "Hebrew",
                       .id = LANG_HEBREW,
                       .letters = L"\u2026",
                       .scriptFirst = 0x05D0,
                       .scriptLast = 0x05EA};
const Language kChinese{.name = "Chinese",
                        .id = LANG_CHINESE,
                        .letters = L"\uFF0C\u3002\uFF1A\uFF1B\uFF08\uFF09\u201C\u201D\u2026",
                        .scriptFirst = 0x4E00,
                        .scriptLast = 0x9FFF};
const Language kGerman{.name = "German",
                       .id = LANG_GERMAN,
                       .letters = L"\u00E4\u00F6\u00FC\u00DF\u00C4\u00D6\u00DC\u201E\u201C\u2026",
                       .sameAsEnglish = {TXT_FIRMWARE}};
const Language kFrench{.name = "French",
                       .id = LANG_FRENCH,
                       .letters =
                           L"\u00E0\u00E2\u00E7\u00E8\u00E9\u00EA\u00EB\u00EE\u00EF\u00F4"
                           L"\u00F9\u00FB\u00C9\u00A0\u00AB\u00BB\u2019\u2026"};
const Language kSpanish{.name = "Spanish",
                        .id = LANG_SPANISH,
                        .letters = L"\u00E1\u00E9\u00ED\u00F3\u00FA\u00F1\u00FC\u00AB\u00BB\u2026",
                        .sameAsEnglish = {TXT_NO, TXT_FIRMWARE, TXT_BYTES}};
const Language kPortuguese{.name = "Portuguese",
                           .id = LANG_PORTUGUESE,
                           .letters =
                               L"\u00E1\u00E0\u00E2\u00E3\u00E7\u00E9\u00EA\u00ED\u00F3"
                               L"\u00F4\u00F5\u00FA\u201C\u201D\u2026",
                           .sameAsEnglish = {TXT_FIRMWARE, TXT_BYTES}};
const Language kPolish{.name = "Polish",
                       .id = LANG_POLISH,
                       .letters =
                           L"\u0105\u0107\u0119\u0142\u0144\u00F3\u015B\u017A\u017C"
                           L"\u0141\u015A\u017B\u00A0\u201E\u201D\u2026"};

const Language kJapanese{.name = "Japanese",
                         .id = LANG_JAPANESE,
                         .letters = L"\u2026\u3001\u3002\u300C\u300D\uFF08\uFF09\uFF1A",
                         .scriptFirst = 0x3040,  // kana, then the CJK ideographs
                         .scriptLast = 0x9FFF};
const Language kKorean{.name = "Korean",
                       .id = LANG_KOREAN,
                       .letters = L"\u2026",
                       .scriptFirst = 0xAC00,
                       .scriptLast = 0xD7A3};
const Language kTraditionalChinese{
    .name = "TraditionalChinese",
    .id = LANG_CHINESE_TRADITIONAL,
    .letters = L"\u2026\u3002\u300C\u300D\uFF08\uFF09\uFF0C\uFF1A\uFF1B",
    .scriptFirst = 0x4E00,
    .scriptLast = 0x9FFF};
const Language kArabic{.name = "Arabic",
                       .id = LANG_ARABIC,
                       .letters = L"\u00AB\u00BB\u2026",
                       .scriptFirst = 0x0600,
                       .scriptLast = 0x06FF};
const Language kUkrainian{.name = "Ukrainian",
                          .id = LANG_UKRAINIAN,
                          .letters = L"\u00AB\u00BB\u2019\u2026",
                          .scriptFirst = 0x0400,
                          .scriptLast = 0x04FF};
const Language kCzech{.name = "Czech",
                      .id = LANG_CZECH,
                      .letters =
                          L"\u00A0\u00E1\u00E9\u00ED\u00FA\u00FD\u010C\u010D\u010F\u011B"
                          L"\u0158\u0159\u0161\u0165\u016F\u017E\u201C\u201E\u2026",
                      .sameAsEnglish = {TXT_FIRMWARE},
                      .ownWords = {L"to"}};
const Language kDutch{.name = "Dutch",
                      .id = LANG_DUTCH,
                      .letters = L"\u00E9\u00EF\u201C\u201D\u2026",
                      .sameAsEnglish = {TXT_PRINTER, TXT_FIRMWARE, TXT_BYTES},
                      .ownWords = {L"printer", L"is", L"of", L"Tips"}};
const Language kSwedish{.name = "Swedish",
                        .id = LANG_SWEDISH,
                        .letters = L"\u00C5\u00E4\u00E5\u00F6\u2013\u201D\u2026",
                        .ownWords = {L"Tips"}};
const Language kHungarian{.name = "Hungarian",
                          .id = LANG_HUNGARIAN,
                          .letters =
                              L"\u00E1\u00E9\u00ED\u00F3\u00F6\u00FA\u00FC\u0151\u0171"
                              L"\u201D\u201E\u2026",
                          .sameAsEnglish = {TXT_FIRMWARE},
                          .ownWords = {L"is"}};
const Language kGreek{.name = "Greek",
                      .id = LANG_GREEK,
                      .letters = L"\u00AB\u00BB\u2026",
                      .scriptFirst = 0x0370,
                      .scriptLast = 0x03FF};
const Language kRomanian{.name = "Romanian",
                         .id = LANG_ROMANIAN,
                         .letters = L"\u00E2\u00EE\u0103\u0219\u021B\u201D\u201E\u2026",
                         .sameAsEnglish = {TXT_FIRMWARE}};
// Vietnamese letters with two marks are in the Latin Extended Additional block.
const Language kVietnamese{.name = "Vietnamese",
                           .id = LANG_VIETNAMESE,
                           .letters =
                               L"\u00E0\u00E1\u00E3\u00EA\u00EC\u00ED\u00F2\u00F3\u00F4"
                               L"\u00F9\u00FA\u00FD\u0103\u0110\u0111\u01A1\u01B0\u201C"
                               L"\u201D\u2026",
                           .scriptFirst = 0x1EA0,
                           .scriptLast = 0x1EF9,
                           .sameAsEnglish = {TXT_FIRMWARE}};
const Language kIndonesian{.name = "Indonesian",
                           .id = LANG_INDONESIAN,
                           .letters = L"\u201C\u201D\u2026",
                           .sameAsEnglish = {TXT_PRINTER, TXT_FIRMWARE},
                           .ownWords = {L"printer"}};

// The ids a language's own words fill: every one but the two settings, and the success message's
// first line, a safety warning, in every table but English.
std::vector<int> TranslatedIds(const Language& language) {
    std::vector<int> ids(std::begin(kTranslatedIds), std::end(kTranslatedIds));
    if (language.id != LANG_ENGLISH) {
        ids.push_back(TXT_KEEP_POWER_ON);
    }
    return ids;
}

std::string NameOf(const testing::TestParamInfo<Language>& info) {
    return info.param.name;
}

class EveryTable : public testing::TestWithParam<Language> {};

TEST_P(EveryTable, EveryIdResolvesToAShortEnoughText) {
    ScopedUiLang lang(GetParam().id);
    for (int id = TXT_TITLE; id <= kLastId; ++id) {
        const std::wstring text = GetLangText(id);
        EXPECT_FALSE(text.empty()) << "id " << id;
        EXPECT_LE(Utf16Length(text), kMaxLangTextUnits) << "id " << id;
        EXPECT_EQ(text.find(L'\0'), std::wstring::npos) << "id " << id;
    }
}

TEST_P(EveryTable, IdsNoTableHoldsGiveAnEmptyText) {
    ScopedUiLang lang(GetParam().id);
    for (int id : {-1, -28, INT_MIN, kLastId + 1, 100, INT_MAX}) {
        EXPECT_EQ(GetLangText(id), L"") << "id " << id;
    }
}

TEST_P(EveryTable, LineBreaksAreCarriageReturnLineFeedPairs) {
    // The edit and static controls break lines only at "\r\n"; a lone "\n" shows as a box.
    ScopedUiLang lang(GetParam().id);
    for (int id = TXT_TITLE; id <= kLastId; ++id) {
        const std::wstring text = GetLangText(id);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == L'\r') {
                EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == L'\n') << "id " << id;
            } else if (text[i] == L'\n') {
                EXPECT_TRUE(i > 0 && text[i - 1] == L'\r') << "id " << id;
            }
        }
    }
}

TEST_P(EveryTable, TitleAndButtonCaptionsAreSingleShortLines) {
    ScopedUiLang lang(GetParam().id);
    const std::wstring title = GetLangText(TXT_TITLE);
    EXPECT_NE(title.find(L"Viruzu"), std::wstring::npos);
    EXPECT_EQ(title.find_first_of(L"\r\n"), std::wstring::npos);
    EXPECT_LE(title.size(), 60u);
    for (int id : kButtonIds) {
        const std::wstring caption = GetLangText(id);
        EXPECT_LE(caption.size(), 20u) << "id " << id;
        EXPECT_EQ(caption.find_first_of(L"\r\n"), std::wstring::npos) << "id " << id;
    }
}

TEST_P(EveryTable, TextsUseOnlyTheLanguagesOwnLetters) {
    ScopedUiLang lang(GetParam().id);
    const Language& language = GetParam();
    for (int id : TranslatedIds(language)) {
        for (const wchar_t c : GetLangText(id)) {
            const bool allowed = (c >= 0x20 && c < 0x7F) || c == L'\r' || c == L'\n' ||
                                 language.letters.find(c) != std::wstring_view::npos ||
                                 (c >= language.scriptFirst && c <= language.scriptLast);
            EXPECT_TRUE(allowed) << "id " << id << " holds U+" << std::hex
                                 << static_cast<std::uint32_t>(c);
        }
    }
}

TEST_P(EveryTable, BrandNameStaysWhereEnglishHasIt) {
    ScopedUiLang lang(GetParam().id);
    for (int id : kTranslatedIds) {
        if (English(id).find(L"Viruzu") != std::wstring::npos) {
            EXPECT_NE(GetLangText(id).find(L"Viruzu"), std::wstring::npos) << "id " << id;
        }
    }
}

TEST_P(EveryTable, HoldsItsOwnTextForEveryIdItShouldOrElseEnglish) {
    // A table that ends early leaves its user with English texts for every later id.
    EXPECT_EQ(LangTableFor(GetParam().id).size(), LangTableFor(LANG_ENGLISH).size());
}

const Language kEveryLanguage[] = {
    kEnglish,  kItalian,    kTurkish,    kRussian, kHebrew,   kChinese,   kGerman,
    kFrench,   kSpanish,    kPortuguese, kPolish,  kJapanese, kKorean,    kTraditionalChinese,
    kArabic,   kUkrainian,  kCzech,      kDutch,   kSwedish,  kHungarian, kGreek,
    kRomanian, kVietnamese, kIndonesian};

INSTANTIATE_TEST_SUITE_P(Texts, EveryTable, testing::ValuesIn(kEveryLanguage), NameOf);

TEST(LangText, EveryRowOfTheLanguageTableIsCheckedHere) {
    // A language that joins the table without a row here would go without the checks above.
    for (const fwup::Language& row : Languages()) {
        EXPECT_TRUE(std::ranges::any_of(kEveryLanguage, [&](const Language& checked) {
            return checked.id == row.id;
        })) << row.englishName;
    }
}

class TranslatedTable : public testing::TestWithParam<Language> {};

TEST_P(TranslatedTable, IsWrittenInItsOwnLanguage) {
    ScopedUiLang lang(GetParam().id);
    for (int id : TranslatedIds(GetParam())) {
        if (std::ranges::find(GetParam().sameAsEnglish, id) == GetParam().sameAsEnglish.end()) {
            EXPECT_NE(GetLangText(id), English(id)) << "id " << id;
        }
    }
}

TEST_P(TranslatedTable, HoldsNoLeftoverEnglish) {
    ScopedUiLang lang(GetParam().id);
    for (int id : TranslatedIds(GetParam())) {
        const std::wstring text = GetLangText(id);
        for (std::wstring_view word : {L"the", L"The", L"please", L"Please", L"printer", L"upgrade",
                                       L"and", L"is", L"to", L"of", L"with", L"not", L"Tips"}) {
            if (std::ranges::find(GetParam().ownWords, word) != GetParam().ownWords.end()) {
                continue;
            }
            EXPECT_FALSE(ContainsWord(text, word)) << "id " << id << " holds an English word";
        }
    }
}

TEST_P(TranslatedTable, KeepsTheParagraphsOfTheLongTexts) {
    // Only the line structure has to match: blank lines and numbered steps, and the tips box's
    // last line stays open for the series list appended to it.
    ScopedUiLang lang(GetParam().id);
    for (int id : {TXT_CONFIRM_ON_PRINTER, TXT_STEPS, TXT_TIPS}) {
        const std::vector<std::wstring> ours = LinesOf(GetLangText(id));
        const std::vector<std::wstring> english = LinesOf(English(id));
        ASSERT_EQ(ours.size(), english.size()) << "id " << id;
        for (std::size_t i = 0; i < ours.size(); ++i) {
            EXPECT_EQ(ours[i].empty(), english[i].empty()) << "id " << id << " line " << i;
            for (std::wstring_view number : {L"1. ", L"2. "}) {
                EXPECT_EQ(ours[i].starts_with(number), english[i].starts_with(number))
                    << "id " << id << " line " << i;
            }
        }
    }
}

TEST_P(TranslatedTable, EndsInAColonWhereAValueFollows) {
    // The window appends " " and the value; French sets a no-break space before its colon.
    ScopedUiLang lang(GetParam().id);
    for (int id = TXT_TITLE; id <= kLastId; ++id) {
        if (!English(id).ends_with(L':')) {
            continue;
        }
        const std::wstring text = GetLangText(id);
        const bool colon = text.ends_with(L':') || text.ends_with(L'\uFF1A');
        EXPECT_TRUE(colon) << "id " << id;
        EXPECT_FALSE(text.ends_with(L" :")) << "id " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, TranslatedTable,
                         testing::ValuesIn(std::begin(kEveryLanguage) + 1,
                                           std::end(kEveryLanguage)),
                         NameOf);

// What native readers of each table asked for: the words that must be there, and the ones they
// replaced, which must be gone.
struct Wording {
    const char* name;
    std::uint16_t language;
    int id;
    std::wstring_view present;
    std::wstring_view absent;
};

class NativeWording : public testing::TestWithParam<Wording> {};

TEST_P(NativeWording, HoldsTheMendedWords) {
    const std::wstring text = TextIn(GetParam().language, GetParam().id);
    EXPECT_NE(text.find(GetParam().present), std::wstring::npos) << "id " << GetParam().id;
    if (!GetParam().absent.empty()) {
        EXPECT_EQ(text.find(GetParam().absent), std::wstring::npos) << "id " << GetParam().id;
    }
}

// The printer's panel names its keys in English; where a table translates a key's name, the
// English one stands beside it in the same quotes.
INSTANTIATE_TEST_SUITE_P(
    Texts, NativeWording,
    testing::Values(
        Wording{"HebrewStartIsANoun", LANG_HEBREW, TXT_CONFIRM_ON_PRINTER,
                L"\"\u05D4\u05EA\u05D7\u05DC\u05D4\" (\"Start\")", L"\"\u05D4\u05EA\u05D7\u05DC\""},
        Wording{"HebrewCancelKey", LANG_HEBREW, TXT_CONFIRM_ON_PRINTER, L"(\"Cancel\")", L""},
        Wording{"ItalianOnePrinterAtATime", LANG_ITALIAN, TXT_TIPS,
                L"una sola stampante Viruzu alla volta.", L"collegata"},
        Wording{"ItalianTypographicQuotes", LANG_ITALIAN, TXT_CONFIRM_ON_PRINTER,
                L"\u201CAvvio\u201D (\u201CStart\u201D)", L"\""},
        Wording{"ItalianCancelKey", LANG_ITALIAN, TXT_CONFIRM_ON_PRINTER,
                L"\u201CAnnulla\u201D (\u201CCancel\u201D)", L""},
        Wording{"TurkishTypographicQuotes", LANG_TURKISH, TXT_CONFIRM_ON_PRINTER,
                L"\u201CBa\u015Flat\u201D (\u201CStart\u201D)", L"\""},
        Wording{"TurkishCancelKey", LANG_TURKISH, TXT_CONFIRM_ON_PRINTER,
                L"\u201C\u0130ptal\u201D (\u201CCancel\u201D)", L""},
        Wording{"RussianAtOnce", LANG_RUSSIAN, TXT_TIPS,
                L"\u043E\u0434\u043D\u043E\u0432\u0440\u0435\u043C\u0435\u043D\u043D\u043E",
                L"\u0437\u0430 \u0440\u0430\u0437"},
        Wording{"RussianKeys", LANG_RUSSIAN, TXT_CONFIRM_ON_PRINTER, L"(\u00ABStart\u00BB)", L""},
        Wording{"GermanTitleHyphenated", LANG_GERMAN, TXT_TITLE, L"Viruzu-Firmware-Update-Tool",
                L""},
        Wording{"GermanConfirmTheUpdate", LANG_GERMAN, TXT_CONFIRM_ON_PRINTER,
                L"Bitte best\u00E4tigen Sie das Update noch einmal am Drucker:", L"Sie es"},
        Wording{"GermanCancelKey", LANG_GERMAN, TXT_CONFIRM_ON_PRINTER,
                L"\u201EAbbrechen\u201C (\u201ECancel\u201C)", L""},
        Wording{"SpanishReadyOneTerm", LANG_SPANISH, TXT_CONFIRM_ON_PRINTER, L"preparada",
                L"lista"},
        Wording{"SpanishKeys", LANG_SPANISH, TXT_CONFIRM_ON_PRINTER, L"(\u00ABCancel\u00BB)", L""},
        Wording{"FrenchKeys", LANG_FRENCH, TXT_CONFIRM_ON_PRINTER,
                L"(\u00AB\u00A0Start\u00A0\u00BB)", L""},
        Wording{"PortugueseKeys", LANG_PORTUGUESE, TXT_CONFIRM_ON_PRINTER, L"(\u201CCancel\u201D)",
                L""},
        Wording{"ChineseKeys", LANG_CHINESE, TXT_CONFIRM_ON_PRINTER,
                L"\u201C\u5F00\u59CB\u201D\uFF08\u201CStart\u201D\uFF09", L""},
        Wording{"PolishConfirmTheUpdate", LANG_POLISH, TXT_CONFIRM_ON_PRINTER,
                L"Potwierd\u017A aktualizacj\u0119 na drukarce:", L"j\u0105 ponownie"},
        Wording{"PolishCancelKey", LANG_POLISH, TXT_CONFIRM_ON_PRINTER,
                L"\u201EAnuluj\u201D (\u201ECancel\u201D)", L""},
        Wording{"PolishNewDriver", LANG_POLISH, TXT_NEW_DRIVER,
                L"Po aktualizacji oprogramowania sprz\u0119towego nale\u017Cy u\u017Cywa\u0107 "
                L"drukarki z\u00A0nowym sterownikiem.",
                L""},
        Wording{"PolishSameVersion", LANG_POLISH, TXT_VERSION_SAME,
                L"Wersja oprogramowania sprz\u0119towego drukarki jest taka sama jak wersja do "
                L"zainstalowania.",
                L""},
        // What the second readers of the newer tables mended.
        Wording{"SwedishNotTakenIsNotSwitched", LANG_SWEDISH, TXT_FOLLOW_NOT_TAKEN,
                L"bytte inte till", L"tog inte emot"},
        Wording{"UkrainianConfirmAgain", LANG_UKRAINIAN, TXT_CONFIRM_ON_PRINTER,
                L"\u0429\u0435 \u0440\u0430\u0437 "
                L"\u043F\u0456\u0434\u0442\u0432\u0435\u0440\u0434\u044C\u0442\u0435",
                L""},
        Wording{"GreekInstructionsNotDriver", LANG_GREEK, TXT_NEW_DRIVER,
                L"\u03C3\u03C4\u03B9\u03C2 \u03BF\u03B4\u03B7\u03B3\u03AF\u03B5\u03C2",
                L"\u03C3\u03C4\u03BF\u03BD \u03BF\u03B4\u03B7\u03B3\u03CC"},
        Wording{"ArabicInProgressNotSwitchedOn", LANG_ARABIC, TXT_PRINTER_IN_USE,
                L"\u0642\u064A\u062F \u0627\u0644\u062A\u0646\u0641\u064A\u0630",
                L"\u0642\u064A\u062F \u0627\u0644\u062A\u0634\u063A\u064A\u0644"},
        Wording{"JapaneseDoNotTurnOffStandsAlone", LANG_JAPANESE, TXT_FOLLOW_NOT_BACK,
                L"\u96FB\u6E90\u3092\u5207\u3089\u306A\u3044\u3067\u304F\u3060\u3055\u3044\u3002",
                L"\u96FB\u6E90\u3092\u5207\u3089\u305A\u306B"},
        Wording{"KoreanOneAtATime", LANG_KOREAN, TXT_TIPS,
                L"\uD55C \uBC88\uC5D0 \uD55C \uB300\uB9CC",
                L"\uD55C \uBC88\uC5D0 \uC5F0\uACB0\uB41C"},
        Wording{"TraditionalChineseNoColonBeforeTheWarning", LANG_CHINESE_TRADITIONAL,
                TXT_FOLLOW_NOT_BACK,
                L"\u53EF\u80FD\u4ECD\u5728\u5BEB\u5165\u97CC\u9AD4\u3002\u8ACB\u52FF\u95DC\u9589",
                L"\u97CC\u9AD4\uFF1A"},
        Wording{"RomanianCableFirst", LANG_ROMANIAN, TXT_NOT_CONNECTED,
                L"cablul USB este conectat corect", L""}),
    [](const auto& info) { return std::string(info.param.name); });

// Russian spells every word with е, as Russian interfaces mostly do, rather than ё in some texts.
TEST(LangText, RussianSpellsEOneWayThroughout) {
    for (int id = 0; id < static_cast<int>(LangTableFor(LANG_RUSSIAN).size()); ++id) {
        const std::wstring text = TextIn(LANG_RUSSIAN, id);
        EXPECT_EQ(text.find_first_of(L"\u0451\u0401"), std::wstring::npos) << "id " << id;
    }
}

struct Choice {
    std::uint16_t uiLangId;
    std::uint16_t table;
};

class TableChoice : public testing::TestWithParam<Choice> {};

TEST_P(TableChoice, PicksTheTableOfTheLanguageOrEnglish) {
    EXPECT_EQ(TextIn(GetParam().uiLangId, TXT_TITLE), TextIn(GetParam().table, TXT_TITLE));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TableChoice,
    testing::Values(Choice{0, LANG_ENGLISH}, Choice{0x0B, LANG_ENGLISH},  // Finnish
                    Choice{0x3FF, LANG_ENGLISH}, Choice{LANG_ITALIAN, LANG_ITALIAN},
                    Choice{LANG_TURKISH, LANG_TURKISH}, Choice{LANG_RUSSIAN, LANG_RUSSIAN},
                    Choice{LANG_CHINESE_TRADITIONAL, LANG_CHINESE_TRADITIONAL},
                    Choice{LANG_CHINESE, LANG_CHINESE}),
    [](const testing::TestParamInfo<Choice>& info) {
        return "Lang" + std::to_string(info.param.uiLangId);
    });

TEST(LangText, EveryLanguageHasATableOfItsOwn) {
    // The letters each table may hold tell the tables apart once each language has its own.
    std::set<const LangTextEntry*> tables;
    for (const Language& language : kEveryLanguage) {
        EXPECT_TRUE(tables.insert(LangTableFor(language.id).data()).second) << language.name;
    }
}

TEST(LangText, LengthsAreCountedInUtf16Units) {
    // A character beyond the Basic Multilingual Plane is one wchar_t on Linux, two on Windows.
    EXPECT_EQ(Utf16Length(L"a\U0001F5A8b"), 4u);
    EXPECT_EQ(Utf16Length(L"\u5B8B\u4F53"), 2u);
}

TEST(LangText, EnglishIsUsedBeforeTheLanguageIsChosen) {
    ScopedUiLang lang(0);
    EXPECT_EQ(GetLangText(TXT_TITLE), L"Viruzu  Firmware Upgrade Tool");
}

TEST(LangText, FontFaceAndCloseItemAreSettings) {
    // Escapes, not literals: these check that both compilers read the UTF-8 source alike.
    const std::wstring songTi = L"\u5B8B\u4F53";
    const std::wstring closeItem = L"\u5173\u95ED(&C)";
    EXPECT_EQ(TextIn(LANG_ENGLISH, TXT_FONT_FACE), songTi);
    EXPECT_EQ(TextIn(LANG_CHINESE, TXT_FONT_FACE), songTi);
    EXPECT_EQ(TextIn(LANG_ITALIAN, TXT_FONT_FACE), songTi);
    EXPECT_EQ(TextIn(LANG_TURKISH, TXT_FONT_FACE), L"Times New Roman");
    EXPECT_EQ(TextIn(LANG_RUSSIAN, TXT_FONT_FACE), L"Times New Roman");
    for (std::uint16_t lang : {LANG_ENGLISH, LANG_ITALIAN, LANG_TURKISH, LANG_RUSSIAN}) {
        EXPECT_EQ(TextIn(lang, TXT_CLOSE_ITEM), closeItem) << lang;
    }
}

TEST(LangText, NonAsciiLettersDecodeToTheirCodePoints) {
    EXPECT_EQ(TextIn(LANG_ITALIAN, TXT_YES), L"S\u00EC");
    EXPECT_EQ(TextIn(LANG_TURKISH, TXT_EXIT), L"\u00C7\u0131k\u0131\u015F");
    EXPECT_EQ(TextIn(LANG_RUSSIAN, TXT_YES), L"\u0414\u0430");
    EXPECT_EQ(English(TXT_UPGRADING).back(), L'\u2026');
}

// Every English text the window and the dialogs show, written out here once: a typo in the table
// shows up as a difference, where a look test that asks the table for its expectation would not.
TEST(LangText, EnglishTextsShownAreTheAgreedOnes) {
    const struct {
        int id;
        std::wstring_view text;
    } kShown[] = {
        {0, L"Viruzu  Firmware Upgrade Tool"},
        {1,
         L"Please restart the printer to upgrade again, or contact the Viruzu customer service "
         L"staff."},
        {5,
         L"If the printer is not ready, please reset the printer to the ready or sleep state, "
         L"and rerun the upgrade tool."},
        {6,
         L"If the Viruzu printer is not connected, please check whether the USB cable is "
         L"connected properly."},
        {8, L"The data is being transmitted, please wait\u2026"},
        {9, L"The firmware upgrade is successful."},
        {10, L"The firmware upgrade is failed."},
        {12,
         L"The current firmware version of the printer is the same with the version to be "
         L"upgraded to"},
        {14,
         L"Notice: Please do not turn off the printer and the computer during the upgrade."
         L"\r\n\r\n\r\nThe upgrade steps are as follows:\r\n\r\n1. Please turn on the "
         L"printer, and set it to the ready or sleep state;\r\n2. Use a USB cable to connect "
         L"the printer and the computer;\r\n"},
        {15,
         L"Tips:\r\n1. This upgrade tool can only support being connected to one Viruzu "
         L"printer for upgrade at a time.\r\n2. The printer series supported by this version "
         L"of upgrade tool:\r\n"},
        {16, L"Complete"},
        {17, L"Start to upgrade"},
        {18, L"Exit"},
        {21,
         L"The printer shall be used with the new driver after the firmware upgrade, please "
         L"check the operation guide for upgrade tools."},
        {22, L"The printer port is occupied, and the firmware cannot be upgraded."},
        {23, L"Confirm"},
        {24, L"Yes"},
        {25, L"No"},
        {26,
         L"Unable to recognize the firmware in the printer, please contact Viruzu customer "
         L"service."},
        {27, L"Please do not turn off the printer before upgrading."},
        {28, L"Another upgrade is running on this printer. Wait until it has ended and try again."},
        {29,
         L"The computer's battery is nearly empty. Connect the computer to mains power and try "
         L"again."},
    };
    for (const auto& shown : kShown) {
        EXPECT_EQ(English(shown.id), shown.text) << "text " << shown.id;
    }
}

// A value follows its label after one space, but a full-width colon carries its own.
TEST(LabelAndValue, OneSpaceUnlessTheColonIsFullWidth) {
    for (const auto& [language, joined] :
         {std::pair{LANG_ENGLISH, std::wstring(L"Printer: X")},
          std::pair{LANG_CHINESE, TextIn(LANG_CHINESE, TXT_PRINTER) + L"X"}}) {
        UiLangId.store(language);
        EXPECT_EQ(LabelAndValue(TXT_PRINTER, L"X"), joined);
    }
    UiLangId.store(0);
}

}  // namespace
}  // namespace fwup
