#pragma once

#include <memory>

#include "device/interface_source.h"
#include "device/libusb/usb_backend.h"

namespace fwup::libusb {

// The interface source over a USB backend. Each printing interface is one device of a set (as
// Windows lists each function of a composite device on its own), in FindPrintingInterfaces
// order; its port number is its position in that order plus one (see the README, "USB access on
// Linux"). Instance IDs and paths are those of TakePrinterSnapshot.
class LibusbInterfaceSource final : public InterfaceSource {
  public:
    explicit LibusbInterfaceSource(std::unique_ptr<UsbBackend> backend);

    std::unique_ptr<DeviceInterfaceSet> OpenSet() override;
    // Enumerates afresh without opening any device. None for a path of no present interface.
    std::optional<std::uint32_t> PortNumber(const std::wstring& path) override;
    UsbChannel OpenInterface(const std::wstring& path) override;
    // The backend's hot-plug watch: it opens no device.
    std::unique_ptr<ArrivalWatch> WatchArrivals() override;

  private:
    std::unique_ptr<UsbBackend> backend_;
};

}  // namespace fwup::libusb
