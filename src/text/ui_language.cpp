#include "text/ui_language.h"

#include <string_view>

#include "text/lang_text.h"
#include "text/languages.h"

namespace fwup {
namespace {

constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != lower[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::uint16_t PrimaryLanguageOfLocale(std::string_view localeName) {
    // language[_territory][.codeset][@modifier]; '-' for BCP 47 tags, ':' for a LANGUAGE list.
    const std::string_view code = localeName.substr(0, localeName.find_first_of("_.@-:"));
    for (const Language& language : Languages()) {
        if (EqualsIgnoringAsciiCase(code, language.localeCode) ||
            (!language.olderLocaleCode.empty() &&
             EqualsIgnoringAsciiCase(code, language.olderLocaleCode))) {
            return language.id;
        }
    }
    return LANG_ENGLISH;
}

std::string UserLocaleName(const EnvironmentLookup& lookup) {
    if (const char* list = lookup("LANGUAGE"); list != nullptr) {
        std::string_view rest(list);
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            const std::string_view entry = rest.substr(0, colon);
            if (!entry.empty()) {
                return std::string(entry);
            }
            if (colon == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(colon + 1);
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = lookup(name);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

}  // namespace fwup
