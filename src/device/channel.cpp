#include "device/channel.h"

#include <algorithm>

namespace fwup {

long WriteUSBDevice(Channel* channel, const std::uint8_t* bytes, std::size_t length) {
    if (channel == nullptr || (bytes == nullptr && length != 0)) {
        return -1;
    }
    const std::size_t size = std::min(length, kMaxWriteBytes);
    const long written = channel->Write(std::span<const std::uint8_t>(bytes, size));
    if (written < -1 || written > static_cast<long>(size)) {
        return -1;
    }
    return written;
}

long ReadUSBDevice(Channel* channel, std::uint8_t* buffer, std::size_t size) {
    if (channel == nullptr || (buffer == nullptr && size != 0)) {
        return -1;
    }
    const long read = channel->Read(std::span<std::uint8_t>(buffer, size));
    if (read < -1 || read > static_cast<long>(size)) {
        return -1;
    }
    return read;
}

VendorReply VendorGetCommand(Channel* channel, std::span<const std::uint8_t, 3> input,
                             std::span<std::uint8_t> output) {
    if (channel == nullptr) {
        return VendorReply{false, 0, kErrorGenFailure};
    }
    VendorReply reply = channel->VendorRequest(input, output);
    reply.returned = std::min(reply.returned, output.size());
    return reply;
}

void CloseUSBDevice(UsbChannel& channel) {
    if (channel) {
        channel->Close();
        channel.reset();
    }
}

}  // namespace fwup
