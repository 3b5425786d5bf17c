#include "emulation/sim_channel.h"

#include <utility>

namespace fwup {

SimChannel::SimChannel(std::shared_ptr<SimPrinter> printer, std::shared_ptr<SimHotplug> hotplug)
    : printer_(std::move(printer)), hotplug_(std::move(hotplug)) {}

SimChannel::~SimChannel() {
    Close();
}

long SimChannel::Write(std::span<const std::uint8_t> bytes) {
    if (!printer_) {
        return -1;
    }
    const long written = printer_->Write(bytes);
    if (hotplug_) {
        hotplug_->NoteWrite();
    }
    return written;
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
