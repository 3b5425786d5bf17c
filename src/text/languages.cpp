#include "text/languages.h"

#include <algorithm>
#include <cstddef>

#include "text/lang_text.h"
#include "text/language_texts.h"
#include "text/ui_language.h"

namespace fwup {
namespace {

// ISO 639-1 codes; "iw" and "in" are the codes Hebrew and Indonesian had before 1989, which Java
// and old systems still use.
// A language without a row of its own gets English's, so English's places are everybody else's.
constexpr std::array<Language, 24> kLanguages{{
    {.id = LANG_ENGLISH,
     .englishName = "English",
     .localeCode = "en",
     .texts = EnglishTexts,
     .simulatedPrintersTitleSuffix = L" — simulated printers",
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}},
    {.id = LANG_ITALIAN,
     .englishName = "Italian",
     .localeCode = "it",
     .texts = ItalianTexts,
     .simulatedPrintersTitleSuffix = L" — stampanti simulate",
     .yesWords = {L"si"},
     .idleLayout = {{30, 20, 400, 180}, {30, 200, 400, 160}, {270, 442, 140, 25}}},
    {.id = LANG_TURKISH,
     .englishName = "Turkish",
     .localeCode = "tr",
     .texts = TurkishTexts,
     .simulatedPrintersTitleSuffix = L" — simüle edilmiş yazıcılar",
     .yesWords = {L"evet", L"e"},
     .idleLayout = {{30, 20, 400, 180}, {30, 200, 400, 160}, {280, 442, 130, 25}}},
    {.id = LANG_RUSSIAN,
     .englishName = "Russian",
     .localeCode = "ru",
     .texts = RussianTexts,
     .simulatedPrintersTitleSuffix = L" — имитируемые принтеры",
     .yesWords = {L"да", L"д"},
     .idleLayout = {{30, 20, 410, 180}, {30, 200, 400, 160}, {280, 442, 130, 25}},
     .script = Script::kCyrillic},
    {.id = LANG_HEBREW,
     .englishName = "Hebrew",
     .localeCode = "he",
     .olderLocaleCode = "iw",
     .texts = HebrewTexts,
     .simulatedPrintersTitleSuffix = L" — מדפסות מדומות",
     .yesWords = {L"כן"},
     .rightToLeft = true,
     .idleLayout = {{30, 20, 400, 180}, {30, 200, 400, 160}, {280, 442, 130, 25}},
     .script = Script::kHebrew},
    {.id = LANG_CHINESE,
     .englishName = "Chinese",
     .localeCode = "zh",
     .localeVariants = {"Hans", "CN", "SG"},
     .windowsSubLanguages = {0x02, 0x04},
     .texts = ChineseTexts,
     .simulatedPrintersTitleSuffix = L"（模拟打印机）",
     .yesWords = {L"是", L"是的"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}},
     .script = Script::kSimplifiedChinese},
    {.id = LANG_GERMAN,
     .englishName = "German",
     .localeCode = "de",
     .texts = GermanTexts,
     .simulatedPrintersTitleSuffix = L" — simulierte Drucker",
     .yesWords = {L"ja", L"j"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}},
    {.id = LANG_FRENCH,
     .englishName = "French",
     .localeCode = "fr",
     .texts = FrenchTexts,
     .simulatedPrintersTitleSuffix = L" — imprimantes simulées",
     .yesWords = {L"oui", L"o"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}},
    {.id = LANG_SPANISH,
     .englishName = "Spanish",
     .localeCode = "es",
     .texts = SpanishTexts,
     .simulatedPrintersTitleSuffix = L" — impresoras simuladas",
     .yesWords = {L"si", L"s"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}},
    {.id = LANG_PORTUGUESE,
     .englishName = "Portuguese",
     .localeCode = "pt",
     .texts = PortugueseTexts,
     .simulatedPrintersTitleSuffix = L" — impressoras simuladas",
     .yesWords = {L"sim", L"s"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {270, 442, 140, 25}}},
    {.id = LANG_POLISH,
     .englishName = "Polish",
     .localeCode = "pl",
     .texts = PolishTexts,
     .simulatedPrintersTitleSuffix = L" — drukarki symulowane",
     .yesWords = {L"tak", L"t"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}},
    {.id = LANG_CHINESE_TRADITIONAL,
     .englishName = "Traditional Chinese",
     .localeCode = "zh",
     .localeVariants = {"Hant", "TW", "HK", "MO"},
     .windowsSubLanguages = {0x01, 0x03, 0x05, 0x1F},
     .texts = TraditionalChineseTexts,
     .simulatedPrintersTitleSuffix = L"（模擬印表機）",
     .yesWords = {L"是", L"是的"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}},
     .script = Script::kTraditionalChinese},
    {.id = LANG_JAPANESE,
     .englishName = "Japanese",
     .localeCode = "ja",
     .texts = JapaneseTexts,
     .simulatedPrintersTitleSuffix = L"（シミュレートされたプリンター）",
     .yesWords = {L"はい"},
     .idleLayout = {{30, 20, 400, 160}, {30, 188, 400, 176}, {290, 442, 120, 25}},
     .script = Script::kJapanese},
    {.id = LANG_KOREAN,
     .englishName = "Korean",
     .localeCode = "ko",
     .texts = KoreanTexts,
     .simulatedPrintersTitleSuffix = L" (시뮬레이션 프린터)",
     .yesWords = {L"예", L"네"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}},
     .script = Script::kKorean},
    {.id = LANG_ARABIC,
     .englishName = "Arabic",
     .localeCode = "ar",
     .texts = ArabicTexts,
     .simulatedPrintersTitleSuffix = L" — طابعات محاكاة",
     .yesWords = {L"نعم", L"ن"},
     .rightToLeft = true,
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}},
     .script = Script::kArabic},
    {.id = LANG_UKRAINIAN,
     .englishName = "Ukrainian",
     .localeCode = "uk",
     .texts = UkrainianTexts,
     .simulatedPrintersTitleSuffix = L" — імітовані принтери",
     .yesWords = {L"так", L"т"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {270, 442, 140, 25}},
     .script = Script::kCyrillic},
    {.id = LANG_CZECH,
     .englishName = "Czech",
     .localeCode = "cs",
     .texts = CzechTexts,
     .simulatedPrintersTitleSuffix = L" — simulované tiskárny",
     .yesWords = {L"ano", L"a"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}},
    {.id = LANG_DUTCH,
     .englishName = "Dutch",
     .localeCode = "nl",
     .texts = DutchTexts,
     .simulatedPrintersTitleSuffix = L" — gesimuleerde printers",
     .yesWords = {L"ja", L"j"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}},
    {.id = LANG_SWEDISH,
     .englishName = "Swedish",
     .localeCode = "sv",
     .texts = SwedishTexts,
     .simulatedPrintersTitleSuffix = L" — simulerade skrivare",
     .yesWords = {L"ja", L"j"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {270, 442, 140, 25}}},
    {.id = LANG_HUNGARIAN,
     .englishName = "Hungarian",
     .localeCode = "hu",
     .texts = HungarianTexts,
     .simulatedPrintersTitleSuffix = L" — szimulált nyomtatók",
     .yesWords = {L"igen", L"i"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}},
    {.id = LANG_GREEK,
     .englishName = "Greek",
     .localeCode = "el",
     .texts = GreekTexts,
     .simulatedPrintersTitleSuffix = L" — προσομοιωμένοι εκτυπωτές",
     .yesWords = {L"ναι", L"ν"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {270, 442, 140, 25}},
     .script = Script::kGreek},
    {.id = LANG_ROMANIAN,
     .englishName = "Romanian",
     .localeCode = "ro",
     .texts = RomanianTexts,
     .simulatedPrintersTitleSuffix = L" — imprimante simulate",
     .yesWords = {L"da", L"d"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}},
    {.id = LANG_VIETNAMESE,
     .englishName = "Vietnamese",
     .localeCode = "vi",
     .texts = VietnameseTexts,
     .simulatedPrintersTitleSuffix = L" — máy in mô phỏng",
     .yesWords = {L"co", L"c"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}},
     .script = Script::kVietnamese},
    {.id = LANG_INDONESIAN,
     .englishName = "Indonesian",
     .localeCode = "id",
     .olderLocaleCode = "in",
     .texts = IndonesianTexts,
     .simulatedPrintersTitleSuffix = L" — printer simulasi",
     .yesWords = {L"ya", L"iya"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}},
}};

// A second row for an id or a locale code would never be reached, and a language without a row
// gets the first one, which must be English.
constexpr bool RowsAreDistinct() {
    if (kLanguages.front().id != LANG_ENGLISH) {
        return false;
    }
    for (std::size_t i = 0; i < kLanguages.size(); ++i) {
        const Language& row = kLanguages[i];
        // A row's texts are not checked here: the sanitizers make a function's address no
        // constant. The text table tests call every row's texts.
        if (row.localeCode.empty()) {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            const Language& earlier = kLanguages[j];
            const bool sameCode =
                row.localeCode == earlier.localeCode || row.localeCode == earlier.olderLocaleCode ||
                (!row.olderLocaleCode.empty() && (row.olderLocaleCode == earlier.localeCode ||
                                                  row.olderLocaleCode == earlier.olderLocaleCode));
            // A later row of the same language is reached only through variants of its own.
            const bool variantOfEarlier =
                PrimaryLanguageId(row.id) == PrimaryLanguageId(earlier.id) &&
                !row.localeVariants[0].empty() && row.windowsSubLanguages[0] != 0;
            if (row.id == earlier.id || (sameCode && !variantOfEarlier)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(RowsAreDistinct());

}  // namespace

std::span<const Language> Languages() {
    return kLanguages;
}

const Language& LanguageFor(std::uint16_t primaryLangId) {
    const auto found = std::find_if(kLanguages.begin(), kLanguages.end(),
                                    [&](const Language& row) { return row.id == primaryLangId; });
    return found != kLanguages.end() ? *found : kLanguages.front();
}

const Language& CurrentLanguage() {
    return LanguageFor(UiLangId.load());
}

std::string LanguageTag(const Language& language) {
    std::string tag(language.localeCode);
    for (const Language& row : kLanguages) {
        if (&row == &language) {
            break;
        }
        if (row.localeCode == language.localeCode) {
            return tag.append("-").append(language.localeVariants[0]);
        }
    }
    return tag;
}

std::uint16_t LanguageOfWindowsLangId(std::uint16_t windowsLangId) {
    const std::uint16_t primary = PrimaryLanguageId(windowsLangId);
    const auto subLanguage = static_cast<std::uint8_t>(windowsLangId >> 10);
    const Language* first = nullptr;
    for (const Language& row : kLanguages) {
        if (PrimaryLanguageId(row.id) != primary) {
            continue;
        }
        if (subLanguage != 0 && std::ranges::find(row.windowsSubLanguages, subLanguage) !=
                                    row.windowsSubLanguages.end()) {
            return row.id;
        }
        if (first == nullptr) {
            first = &row;
        }
    }
    return first != nullptr ? first->id : primary;
}

std::span<const LangTextEntry> LangTableFor(std::uint16_t primaryLangId) {
    return LanguageFor(primaryLangId).texts();
}

}  // namespace fwup
