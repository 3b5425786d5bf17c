#include "protocol/resource_pages.h"

#include <algorithm>

namespace fwup {

PageRange WholePagesWithin(std::span<const std::uint8_t> resource,
                           std::span<const std::uint8_t> bytes, std::size_t pageSize) {
    if (pageSize == 0 || (pageSize & (pageSize - 1)) != 0 || resource.empty() || bytes.empty()) {
        return {};
    }
    const auto address = [](const std::uint8_t* p) { return reinterpret_cast<std::uintptr_t>(p); };
    const std::uintptr_t begin = std::max(address(resource.data()), address(bytes.data()));
    const std::uintptr_t end =
        std::min(address(resource.data()) + resource.size(), address(bytes.data()) + bytes.size());
    if (begin >= end) {
        return {};
    }
    const std::uintptr_t mask = ~static_cast<std::uintptr_t>(pageSize - 1);
    const std::uintptr_t first = (begin + pageSize - 1) & mask;
    const std::uintptr_t last = end & mask;
    return first < last ? PageRange{first, last} : PageRange{};
}

}  // namespace fwup
