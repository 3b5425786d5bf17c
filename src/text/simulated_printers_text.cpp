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
        default:
            return L" — simulated printers";
    }
}

}  // namespace fwup
