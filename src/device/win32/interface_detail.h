#pragma once

#include <windows.h>

#include <setupapi.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace fwup::win32 {

// Largest interface detail accepted from SetupAPI. Real ones hold a path of a few hundred
// characters; a size far beyond that means the platform misreported it.
inline constexpr DWORD kMaxInterfaceDetailBytes = 64 * 1024;

// The bytes of the fixed part of SP_DEVICE_INTERFACE_DETAIL_DATA_W, before the path begins.
inline constexpr DWORD kInterfaceDetailPathOffset =
    offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);

// A buffer for one SP_DEVICE_INTERFACE_DETAIL_DATA_W of the size SetupAPI asked for. The path is
// only ever read within the bytes the buffer holds.
class InterfaceDetailBuffer {
  public:
    // Allocates `size` bytes with the fixed part's size field set. False when `size` cannot hold
    // the fixed part and one character, exceeds kMaxInterfaceDetailBytes, or allocation fails.
    bool Allocate(DWORD size) noexcept;

    SP_DEVICE_INTERFACE_DETAIL_DATA_W* get() noexcept;
    DWORD size() const noexcept { return size_; }

    // The path up to its terminating NUL, or none when the path is empty or no NUL lies within
    // the buffer (a cut path would name some other interface).
    std::optional<std::wstring> DevicePath() const;

  private:
    // DWORD elements give the struct the alignment of its size field.
    std::vector<DWORD> storage_;
    DWORD size_ = 0;
};

}  // namespace fwup::win32
