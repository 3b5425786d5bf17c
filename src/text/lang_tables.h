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

// The table for a primary language id: Italian, Turkish, Russian, Hebrew, Chinese, German, French,
// Spanish, Portuguese and Polish have their own, every other value gets the English one.
std::span<const LangTextEntry> LangTableFor(std::uint16_t primaryLangId);

// The tables written first (Italian, Turkish, Russian) end before the success message's first line
// (id 27), which they leave to English. The texts added since then are held beside them, by
// position from this id.
inline constexpr std::size_t kFirstAddedTextId = 28;

// The added texts of a table that ends before them; empty for every other table, which holds
// them in place.
std::span<const LangTextEntry> AddedTextsFor(std::uint16_t primaryLangId);

}  // namespace fwup
