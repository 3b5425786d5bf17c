#include "device/libusb/libusb_channel.h"

#include <algorithm>

namespace fwup::libusb {
namespace {

constexpr std::size_t kLongestControlData = 0xFFFF;

// The count of a transfer that did not fail, or -1. A count beyond what was asked is a lie.
long TransferredCount(const UsbTransfer& transfer, std::size_t asked) {
    if ((transfer.status != kUsbSuccess && transfer.status != kUsbErrorTimeout) ||
        transfer.transferred > asked) {
        return -1;
    }
    return static_cast<long>(transfer.transferred);
}

}  // namespace

LibusbChannel::LibusbChannel(std::unique_ptr<InterfaceClaim> claim, const ChannelSetting& setting)
    : claim_(std::move(claim)), setting_(setting) {}

LibusbChannel::~LibusbChannel() {
    Close();
}

long LibusbChannel::Write(std::span<const std::uint8_t> bytes) {
    if (!claim_) {
        return -1;
    }
    // An empty transfer would put a zero-length packet on the wire, which a printer may take for
    // the end of a job.
    if (bytes.empty()) {
        return 0;
    }
    return TransferredCount(claim_->handle().BulkOut(setting_.outEndpoint, bytes, kWriteTimeoutMs),
                            bytes.size());
}

long LibusbChannel::Read(std::span<std::uint8_t> buffer) {
    if (!claim_ || !setting_.inEndpoint) {
        return -1;
    }
    if (buffer.empty()) {
        return 0;
    }
    if (!pending_.empty()) {
        return TakePending(buffer);
    }
    const std::size_t packet = setting_.inPacketSize != 0 ? setting_.inPacketSize : 512;
    if (buffer.size() >= packet) {
        const std::span<std::uint8_t> whole = buffer.first(buffer.size() - buffer.size() % packet);
        return TransferredCount(
            claim_->handle().BulkIn(*setting_.inEndpoint, whole, kReadTimeoutMs), whole.size());
    }
    bounce_.resize(packet);
    const long count = TransferredCount(
        claim_->handle().BulkIn(*setting_.inEndpoint, bounce_, kReadTimeoutMs), bounce_.size());
    if (count <= 0) {
        return count;
    }
    pending_.assign(bounce_.begin(), bounce_.begin() + count);
    return TakePending(buffer);
}

long LibusbChannel::TakePending(std::span<std::uint8_t> buffer) {
    const std::size_t count = std::min(buffer.size(), pending_.size());
    std::copy_n(pending_.begin(), count, buffer.begin());
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
    return static_cast<long>(count);
}

VendorReply LibusbChannel::VendorRequest(std::span<const std::uint8_t, 3> input,
                                         std::span<std::uint8_t> output) {
    if (!claim_) {
        return {false, 0, kErrorGenFailure};
    }
    const std::span<std::uint8_t> offered =
        output.first(std::min(output.size(), kLongestControlData));
    const auto value = static_cast<std::uint16_t>((input[1] << 8) | input[2]);
    const int result = claim_->handle().ControlIn(
        kVendorRequestType, input[0], value, claim_->interfaceNumber(), offered, kVendorTimeoutMs);
    if (result >= 0) {
        return {true, std::min(static_cast<std::size_t>(result), offered.size()), kErrorSuccess};
    }
    if (result == kUsbErrorOverflow) {
        return {false, 0, kErrorMoreData};
    }
    return {false, 0, kErrorGenFailure};
}

void LibusbChannel::Close() {
    pending_.clear();
    claim_.reset();
}

}  // namespace fwup::libusb
