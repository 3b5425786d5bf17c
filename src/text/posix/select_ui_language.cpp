#include <cstdlib>

#include "text/lang_text.h"
#include "text/ui_language.h"

namespace fwup {

// Linux has no user interface language of its own beyond the locale environment, so the language
// that gettext would pick for messages decides (see UserLocaleName). An unset environment means
// the "C" locale, which is English.
void SelectUiLanguage() {
    const std::string locale = UserLocaleName([](const char* name) { return std::getenv(name); });
    UiLangId.store(LanguageOfLocale(locale));
}

}  // namespace fwup
