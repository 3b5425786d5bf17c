#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace fwup {

// A range of addresses, [begin, end), of whole memory pages.
struct PageRange {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
    bool empty() const { return begin >= end; }
    std::size_t size() const { return empty() ? 0 : end - begin; }
};

// The whole pages of `pageSize` bytes (a power of two) that lie inside both `resource` and
// `bytes`: what may be given back to the system when `bytes` of the resource are done with.
// Pages the resource shares with anything else are never part of it.
PageRange WholePagesWithin(std::span<const std::uint8_t> resource,
                           std::span<const std::uint8_t> bytes, std::size_t pageSize);

}  // namespace fwup
