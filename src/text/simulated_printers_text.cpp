#include "text/simulated_printers_text.h"

#include "text/lang_text.h"

namespace fwup {

// Kept beside the text tables rather than in them: the tables are addressed by position, and the
// translated ones end before the last English text.
std::wstring SimulatedPrintersTitleSuffix() {
    switch (UiLangId.load()) {
        case LANG_ITALIAN:
            return L" — stampanti simulate";
        case LANG_TURKISH:
            return L" — simüle edilmiş yazıcılar";
        case LANG_RUSSIAN:
            return L" — имитируемые принтеры";
        case LANG_HEBREW:
            return L" — מדפסות מדומות";
        case LANG_CHINESE:
            return L" — 模拟打印机";
        case LANG_GERMAN:
            return L" — simulierte Drucker";
        case LANG_FRENCH:
            return L" — imprimantes simulées";
        case LANG_SPANISH:
            return L" — impresoras simuladas";
        case LANG_PORTUGUESE:
            return L" — impressoras simuladas";
        case LANG_POLISH:
            return L" — drukarki symulowane";
        default:
            return L" — simulated printers";
    }
}

}  // namespace fwup
