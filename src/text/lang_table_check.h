#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "text/lang_tables.h"

namespace fwup {

// A table is looked up by position, so a record out of place would show another message; a text
// too long would not fit the window layer's fixed buffers. Each table's file asserts this, so
// both are caught at build time.
// `firstId` is the id of the first record: 0, or kFirstAddedTextId for the added texts.
template <std::size_t N>
constexpr bool IsWellFormed(const std::array<LangTextEntry, N>& table, std::size_t firstId = 0) {
    for (std::size_t i = 0; i < N; ++i) {
        if (table[i].Id != static_cast<std::int32_t>(firstId + i) || table[i].Text.empty() ||
            Utf16Length(table[i].Text) > kMaxLangTextUnits) {
            return false;
        }
    }
    return true;
}

}  // namespace fwup
