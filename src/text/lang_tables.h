#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace fwup {

// One record of a text table. `Id` equals the record's position; lookups go by position.
struct LangTextEntry {
    std::int32_t Id;
    std::wstring_view Text;
};

// Texts must fit a buffer of 512 UTF-16 code units with its terminating zero.
inline constexpr std::size_t kMaxLangTextUnits = 511;

namespace detail {
template <typename Char>
constexpr std::size_t Utf16Units(Char c) {
    if constexpr (sizeof(Char) > 2) {
        return static_cast<std::uint32_t>(c) > 0xFFFFu ? 2 : 1;
    } else {
        return 1;
    }
}
}  // namespace detail

// Length in UTF-16 code units, whatever wchar_t holds: on Linux a wide string is UTF-32, and a
// character outside the Basic Multilingual Plane would take two units on Windows.
constexpr std::size_t Utf16Length(std::wstring_view text) {
    std::size_t units = 0;
    for (const wchar_t c : text) {
        units += detail::Utf16Units(c);
    }
    return units;
}

// The texts of a primary language id's row in the table of languages (text/languages.h); a
// language without a row gets the English ones.
std::span<const LangTextEntry> LangTableFor(std::uint16_t primaryLangId);

}  // namespace fwup
