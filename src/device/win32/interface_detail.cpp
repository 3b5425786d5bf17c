#include "device/win32/interface_detail.h"

#include <algorithm>
#include <cwchar>
#include <new>

namespace fwup::win32 {

bool InterfaceDetailBuffer::Allocate(DWORD size) noexcept {
    storage_.clear();
    size_ = 0;
    if (size < kInterfaceDetailPathOffset + sizeof(WCHAR) || size > kMaxInterfaceDetailBytes) {
        return false;
    }
    // Rounded up to whole DWORDs and never below the struct itself, so setting the size field
    // stays inside the allocation whatever `size` is.
    const std::size_t bytes =
        std::max<std::size_t>(size, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W));
    try {
        storage_.assign((bytes + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    size_ = size;
    // The platform checks this against the fixed part's size for the build (8 bytes on x64, 6 on
    // 32-bit x86), not against the buffer's size.
    get()->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    return true;
}

SP_DEVICE_INTERFACE_DETAIL_DATA_W* InterfaceDetailBuffer::get() noexcept {
    return storage_.empty() ? nullptr
                            : reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage_.data());
}

std::optional<std::wstring> InterfaceDetailBuffer::DevicePath() const {
    if (storage_.empty()) {
        return std::nullopt;
    }
    const auto* detail =
        reinterpret_cast<const SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage_.data());
    const std::size_t capacity = (size_ - kInterfaceDetailPathOffset) / sizeof(WCHAR);
    const std::size_t length = wcsnlen(detail->DevicePath, capacity);
    if (length == 0 || length == capacity) {
        return std::nullopt;
    }
    return std::wstring(detail->DevicePath, length);
}

}  // namespace fwup::win32
