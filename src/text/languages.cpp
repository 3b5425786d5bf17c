#include "text/languages.h"

#include <algorithm>
#include <cstddef>

#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// ISO 639-1 codes; "iw" is the code Hebrew had before 1989, which Java and old systems still use.
// A language without a row of its own gets English's, so English's places are everybody else's.
constexpr std::array<Language, 11> kLanguages{{
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
     .texts = ChineseTexts,
     .simulatedPrintersTitleSuffix = L"（模拟打印机）",
     .yesWords = {L"是", L"是的"},
     .idleLayout = {{30, 20, 400, 170}, {30, 200, 400, 140}, {290, 442, 120, 25}},
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
            if (row.id == earlier.id || sameCode) {
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

std::span<const LangTextEntry> LangTableFor(std::uint16_t primaryLangId) {
    return LanguageFor(primaryLangId).texts();
}

}  // namespace fwup
