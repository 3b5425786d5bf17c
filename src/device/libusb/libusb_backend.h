#pragma once

#include <memory>

#include "device/libusb/usb_backend.h"

namespace fwup::libusb {

// The backend over a libusb context of its own, or null when libusb cannot be initialised (no
// usbfs, as in some containers). Lists and handles it hands out keep the context alive.
std::unique_ptr<UsbBackend> MakeLibusbBackend();

}  // namespace fwup::libusb
