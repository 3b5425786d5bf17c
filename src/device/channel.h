#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace fwup {

// Largest number of bytes one WriteUSBDevice call hands to the platform.
inline constexpr std::size_t kMaxWriteBytes = 262144;

// Output size offered by the first vendor request, and by the retry after a "buffer too small".
inline constexpr std::size_t kVendorReplySize = 255;
inline constexpr std::size_t kVendorRetryReplySize = 512;

// Platform error codes the vendor request reports (Windows values; other platforms map to them).
inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorGenFailure = 31;
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t kErrorMoreData = 234;

// What one vendor request reported: whether the platform call succeeded, how many bytes it put
// into the output buffer (never more than offered), and the platform's error when it failed.
struct VendorReply {
    bool succeeded = false;
    std::size_t returned = 0;
    std::uint32_t error = kErrorSuccess;
};

// An open, synchronous read/write connection to one printer's USB printing interface.
// Adapters implement one platform call per operation: no loops, no retries, no waits of their own
// beyond the platform's time-outs. The owner closes it with CloseUSBDevice; destroying an open
// channel closes it too.
class Channel {
  public:
    virtual ~Channel() = default;
    // One platform write of all of `bytes` (the caller has already capped the size).
    // Returns the count the platform reports written (0..size) or -1 when the write fails.
    virtual long Write(std::span<const std::uint8_t> bytes) = 0;
    // One platform read of up to `buffer.size()` bytes. Returns the count read (0 possible) or -1.
    virtual long Read(std::span<std::uint8_t> buffer) = 0;
    // The USB printer class driver's vendor control-IN request with a 3-byte input block.
    virtual VendorReply VendorRequest(std::span<const std::uint8_t, 3> input,
                                      std::span<std::uint8_t> output) = 0;
    // Releases the platform handle; later calls fail with -1.
    virtual void Close() = 0;
};

// A channel or none (null).
using UsbChannel = std::unique_ptr<Channel>;

// One write of min(length, kMaxWriteBytes) bytes: the count written (possibly less), or -1.
// A null channel or a count the platform cannot have written is reported as -1.
long WriteUSBDevice(Channel* channel, const std::uint8_t* bytes, std::size_t length);

// One read of up to `size` bytes: the count read (0 possible), or -1.
// A null channel or a count beyond `size` is reported as -1.
long ReadUSBDevice(Channel* channel, std::uint8_t* buffer, std::size_t size);

// The vendor request with `output` offered whole. A null channel fails with kErrorGenFailure and
// no bytes; a returned count beyond the offered size is cut to it.
VendorReply VendorGetCommand(Channel* channel, std::span<const std::uint8_t, 3> input,
                             std::span<std::uint8_t> output);

// Closes and releases the channel; leaves `channel` null. Null is accepted and ignored.
void CloseUSBDevice(UsbChannel& channel);

}  // namespace fwup
