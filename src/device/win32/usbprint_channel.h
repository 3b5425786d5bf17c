#pragma once

#include <string>

#include "base/win32/unique_win32.h"
#include "device/channel.h"

namespace fwup::win32 {

// A channel over an open handle on a usbprint interface: one WriteFile, ReadFile or
// DeviceIoControl per call, synchronous.
class UsbPrintChannel final : public Channel {
  public:
    explicit UsbPrintChannel(UniqueFileHandle handle) : handle_(std::move(handle)) {}

    long Write(std::span<const std::uint8_t> bytes) override;
    long Read(std::span<std::uint8_t> buffer) override;
    VendorReply VendorRequest(std::span<const std::uint8_t, 3> input,
                              std::span<std::uint8_t> output) override;
    void Close() override { handle_.reset(); }

  private:
    UniqueFileHandle handle_;
};

// Opens the interface at `path` for synchronous reading and writing, sharing read access only,
// so no other program writes to the printer meanwhile. Null when the platform refuses the open or
// the path cannot be one (empty, embedded NUL).
UsbChannel OpenUsbPrintInterface(const std::wstring& path);

}  // namespace fwup::win32
