#include "device/interface_source.h"
#include "device/libusb/libusb_backend.h"
#include "device/libusb/libusb_interface_source.h"

namespace fwup {

std::unique_ptr<InterfaceSource> MakeHostInterfaceSource() {
    std::unique_ptr<libusb::UsbBackend> backend = libusb::MakeLibusbBackend();
    if (!backend) {
        return nullptr;
    }
    return std::make_unique<libusb::LibusbInterfaceSource>(std::move(backend));
}

}  // namespace fwup
