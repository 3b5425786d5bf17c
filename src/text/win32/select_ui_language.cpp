#include <windows.h>

#include "text/lang_text.h"
#include "text/languages.h"
#include "text/ui_language.h"

namespace fwup {

void SelectUiLanguage() {
    UiLangId.store(LanguageOfWindowsLangId(GetUserDefaultUILanguage()));
}

}  // namespace fwup
