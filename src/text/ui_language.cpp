#include "text/ui_language.h"

#include <string_view>

#include "text/lang_text.h"
#include "text/languages.h"

namespace fwup {
namespace {

constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view text, std::string_view other) {
    if (text.size() != other.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(other[i])) {
            return false;
        }
    }
    return true;
}

bool IsCodeOf(std::string_view code, const Language& language) {
    return EqualsIgnoringAsciiCase(code, language.localeCode) ||
           (!language.olderLocaleCode.empty() &&
            EqualsIgnoringAsciiCase(code, language.olderLocaleCode));
}

bool NamesVariant(std::string_view subtag, const Language& language) {
    for (const std::string_view variant : language.localeVariants) {
        if (!variant.empty() && EqualsIgnoringAsciiCase(subtag, variant)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::uint16_t LanguageOfLocale(std::string_view localeName) {
    // language[_territory][.codeset][@modifier]; '-' for BCP 47 tags, ':' for a LANGUAGE list.
    const std::string_view name = localeName.substr(0, localeName.find_first_of(".@:"));
    const std::size_t codeEnd = name.find_first_of("_-");
    const std::string_view code = name.substr(0, codeEnd);
    const Language* first = nullptr;
    for (const Language& language : Languages()) {
        if (IsCodeOf(code, language)) {
            first = &language;
            break;
        }
    }
    if (first == nullptr) {
        return LANG_ENGLISH;
    }
    // The first subtag a row of the language names decides: zh-Hans-TW is Simplified.
    std::string_view rest =
        codeEnd == std::string_view::npos ? std::string_view{} : name.substr(codeEnd + 1);
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("_-");
        const std::string_view subtag = rest.substr(0, end);
        for (const Language& language : Languages()) {
            if (IsCodeOf(code, language) && NamesVariant(subtag, language)) {
                return language.id;
            }
        }
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    return first->id;
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
