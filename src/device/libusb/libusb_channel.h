#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "device/channel.h"
#include "device/libusb/channel_setting.h"
#include "device/libusb/interface_claim.h"

namespace fwup::libusb {

// A write may wait this long for the printer to take its bytes: while it flashes or prints it
// can stall its OUT endpoint for many seconds, and a firmware write must not fail for that.
inline constexpr unsigned kWriteTimeoutMs = 60'000;
// A read gives up this soon: the callers loop on empty reads under their own 60-second bound,
// which a long wait here would overshoot.
inline constexpr unsigned kReadTimeoutMs = 2'000;
// The vendor request is answered from the printer's memory; a printer silent for this long will
// not answer.
inline constexpr unsigned kVendorTimeoutMs = 5'000;

// Vendor request, device to host, addressed to the interface.
inline constexpr std::uint8_t kVendorRequestType = 0xC1;

// The channel over a claimed printing interface.
// - Write: one bulk OUT transfer of all the bytes. The count that went, also when the time-out
//   cut it short (0 when nothing went); -1 on any other failure (stall, device gone, I/O error).
// - Read: one bulk IN transfer; the count read, 0 when the time-out passed with nothing; -1 on
//   failure, or always on a unidirectional printer. The device sends whole packets, and a packet
//   larger than the space left would fail the transfer with an overflow and lose its bytes. So a
//   read asks for a whole number of packets: a buffer of at least one packet asks for the largest
//   multiple that fits; a smaller one is read through a one-packet bounce buffer, and the bytes
//   that did not fit are handed out by the next reads before the device is asked again.
// - VendorRequest: one control transfer (kVendorRequestType, bRequest input[0], wValue
//   input[1] << 8 | input[2], wIndex the interface number, wLength the output size up to 65535).
//   An overflow is reported as kErrorMoreData, any other failure as kErrorGenFailure.
// - Close: releases the claim (see InterfaceClaim). Later calls fail.
class LibusbChannel final : public Channel {
  public:
    LibusbChannel(std::unique_ptr<InterfaceClaim> claim, const ChannelSetting& setting);
    ~LibusbChannel() override;

    long Write(std::span<const std::uint8_t> bytes) override;
    long Read(std::span<std::uint8_t> buffer) override;
    VendorReply VendorRequest(std::span<const std::uint8_t, 3> input,
                              std::span<std::uint8_t> output) override;
    void Close() override;

  private:
    long TakePending(std::span<std::uint8_t> buffer);

    std::unique_ptr<InterfaceClaim> claim_;
    ChannelSetting setting_;
    std::vector<std::uint8_t> bounce_;
    std::vector<std::uint8_t> pending_;  // read, not yet handed out; under one packet
};

}  // namespace fwup::libusb
