#include "text/lang_tables.h"

#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {

std::span<const LangTextEntry> LangTableFor(std::uint16_t primaryLangId) {
    switch (primaryLangId) {
        case LANG_ITALIAN:
            return ItalianTexts();
        case LANG_TURKISH:
            return TurkishTexts();
        case LANG_RUSSIAN:
            return RussianTexts();
        case LANG_HEBREW:
            return HebrewTexts();
        case LANG_CHINESE:
            return ChineseTexts();
        case LANG_GERMAN:
            return GermanTexts();
        case LANG_FRENCH:
            return FrenchTexts();
        case LANG_SPANISH:
            return SpanishTexts();
        case LANG_PORTUGUESE:
            return PortugueseTexts();
        case LANG_POLISH:
            return PolishTexts();
        default:
            return EnglishTexts();
    }
}

}  // namespace fwup
