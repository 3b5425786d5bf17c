#include "device/win32/usbprint_channel.h"

#include <algorithm>
#include <limits>

#include "device/win32/usbprint_class.h"

namespace fwup::win32 {
namespace {

// The platform counts in DWORDs and the channel answers in long, which is 32-bit on Windows; a
// larger request is offered in part, which the channel's contract allows for both directions.
constexpr std::size_t kMaxTransferBytes =
    std::min<std::size_t>(std::numeric_limits<DWORD>::max(), std::numeric_limits<long>::max());

DWORD TransferSize(std::size_t size) {
    return static_cast<DWORD>(std::min(size, kMaxTransferBytes));
}

}  // namespace

long UsbPrintChannel::Write(std::span<const std::uint8_t> bytes) {
    if (!handle_.valid()) {
        return -1;
    }
    const DWORD size = TransferSize(bytes.size());
    DWORD written = 0;
    if (!WriteFile(handle_.get(), bytes.data(), size, &written, nullptr) || written > size) {
        return -1;
    }
    return static_cast<long>(written);
}

long UsbPrintChannel::Read(std::span<std::uint8_t> buffer) {
    if (!handle_.valid()) {
        return -1;
    }
    const DWORD size = TransferSize(buffer.size());
    DWORD read = 0;
    if (!ReadFile(handle_.get(), buffer.data(), size, &read, nullptr) || read > size) {
        return -1;
    }
    return static_cast<long>(read);
}

VendorReply UsbPrintChannel::VendorRequest(std::span<const std::uint8_t, 3> input,
                                           std::span<std::uint8_t> output) {
    if (!handle_.valid()) {
        return VendorReply{false, 0, ERROR_INVALID_HANDLE};
    }
    const DWORD offered = TransferSize(output.size());
    DWORD returned = 0;
    // The input block is only read; the const_cast is for the platform's non-const prototype.
    const BOOL ok = DeviceIoControl(
        handle_.get(), kIoctlVendorGetCommand, const_cast<std::uint8_t*>(input.data()),
        static_cast<DWORD>(input.size()), output.data(), offered, &returned, nullptr);
    VendorReply reply;
    reply.succeeded = ok != FALSE;
    // Kept on failure too: with ERROR_MORE_DATA the driver has filled the buffer.
    reply.returned = std::min<std::size_t>(returned, offered);
    if (!reply.succeeded) {
        const DWORD error = GetLastError();
        // A failure must never read as success to a caller that checks the code.
        reply.error = error != ERROR_SUCCESS ? error : kErrorGenFailure;
    }
    return reply;
}

UsbChannel OpenUsbPrintInterface(const std::wstring& path) {
    if (path.empty() || path.find(L'\0') != std::wstring::npos) {
        return nullptr;
    }
    UniqueFileHandle handle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle.valid()) {
        return nullptr;
    }
    return std::make_unique<UsbPrintChannel>(std::move(handle));
}

}  // namespace fwup::win32
