#include "device/sim/sim_channel.h"

#include <utility>

namespace fwup {

SimChannel::SimChannel(std::shared_ptr<SimPrinter> printer) : printer_(std::move(printer)) {}

SimChannel::~SimChannel() {
    Close();
}

long SimChannel::Write(std::span<const std::uint8_t> bytes) {
    return printer_ ? printer_->Write(bytes) : -1;
}

long SimChannel::Read(std::span<std::uint8_t> buffer) {
    return printer_ ? printer_->Read(buffer) : -1;
}

VendorReply SimChannel::VendorRequest(std::span<const std::uint8_t, 3> input,
                                      std::span<std::uint8_t> output) {
    if (!printer_) {
        return VendorReply{false, 0, kErrorGenFailure};
    }
    return printer_->VendorRequest(input, output);
}

void SimChannel::Close() {
    if (printer_) {
        printer_->CloseChannel();
        printer_.reset();
    }
}

}  // namespace fwup
