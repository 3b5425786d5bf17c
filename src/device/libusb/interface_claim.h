#pragma once

#include <cstdint>
#include <memory>

#include "device/libusb/usb_backend.h"

namespace fwup::libusb {

// An open device with one interface claimed for this program alone. The claim is what makes the
// channel exclusive: while it stands, neither the kernel's printer driver nor another program
// can take the interface. Destroying it undoes everything it did.
class InterfaceClaim {
  public:
    // Takes `interfaceNumber` of the open device: detaches the kernel driver that holds it (the
    // usblp printer driver, typically), then claims it. Null when either step fails, with the
    // driver attached again and the device closed.
    static std::unique_ptr<InterfaceClaim> Take(std::unique_ptr<UsbDeviceHandle> handle,
                                                std::uint8_t interfaceNumber);

    InterfaceClaim(std::unique_ptr<UsbDeviceHandle> handle, std::uint8_t interfaceNumber);
    // Releases the interface, gives it back to the kernel driver it was taken from, and closes
    // the device.
    ~InterfaceClaim();
    InterfaceClaim(const InterfaceClaim&) = delete;
    InterfaceClaim& operator=(const InterfaceClaim&) = delete;

    UsbDeviceHandle& handle() { return *handle_; }
    std::uint8_t interfaceNumber() const { return interfaceNumber_; }

  private:
    std::unique_ptr<UsbDeviceHandle> handle_;
    std::uint8_t interfaceNumber_;
    bool driverDetached_ = false;
    bool claimed_ = false;
};

}  // namespace fwup::libusb
