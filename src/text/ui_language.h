#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace fwup {

// The primary language of a Windows language identifier: its low 10 bits. The sub-language in the
// upper bits (Swiss Italian, say) must not keep a user from the table of their language.
constexpr std::uint16_t PrimaryLanguageId(std::uint16_t languageId) {
    return static_cast<std::uint16_t>(languageId & 0x3FFu);
}

// Reads one environment variable; null when it is unset.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The locale name that decides the language of messages on a POSIX system, in the order gettext
// consults the environment: the first non-empty entry of the colon-separated LANGUAGE list, then
// the first non-empty one of LC_ALL, LC_MESSAGES and LANG. Empty when none is set.
std::string UserLocaleName(const EnvironmentLookup& lookup);

}  // namespace fwup
