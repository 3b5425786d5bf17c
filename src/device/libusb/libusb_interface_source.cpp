#include "device/libusb/libusb_interface_source.h"

#include <vector>

#include "device/libusb/interface_open.h"
#include "device/libusb/interface_path.h"
#include "device/libusb/printer_snapshot.h"
#include "device/libusb/printing_interfaces.h"

namespace fwup::libusb {
namespace {

// The set keeps names only: the devices are listed and opened afresh by each later call.
class SnapshotSet final : public DeviceInterfaceSet {
  public:
    explicit SnapshotSet(std::vector<PrinterSetMember> members) : members_(std::move(members)) {}

    SetLookup DeviceInstanceId(std::uint32_t deviceIndex, std::wstring& instanceId) override {
        if (deviceIndex >= members_.size()) {
            return SetLookup::kEnd;
        }
        instanceId = members_[deviceIndex].instanceId;
        return SetLookup::kFound;
    }

    InterfaceLookup DeviceInterfacePath(std::uint32_t deviceIndex, std::wstring& path) override {
        if (deviceIndex >= members_.size()) {
            return InterfaceLookup::kNoInterface;
        }
        path = members_[deviceIndex].path;
        return InterfaceLookup::kFound;
    }

  private:
    std::vector<PrinterSetMember> members_;
};

}  // namespace

LibusbInterfaceSource::LibusbInterfaceSource(std::unique_ptr<UsbBackend> backend)
    : backend_(std::move(backend)) {}

std::unique_ptr<DeviceInterfaceSet> LibusbInterfaceSource::OpenSet() {
    std::optional<std::vector<PrinterSetMember>> members = TakePrinterSnapshot(*backend_);
    if (!members) {
        return nullptr;
    }
    return std::make_unique<SnapshotSet>(std::move(*members));
}

std::optional<std::uint32_t> LibusbInterfaceSource::PortNumber(const std::wstring& path) {
    const std::optional<InterfaceAddress> address = ParseInterfacePath(path);
    if (!address) {
        return std::nullopt;
    }
    const std::unique_ptr<UsbDeviceList> list = backend_->ListDevices();
    if (!list) {
        return std::nullopt;
    }
    return PortNumberIn(FindPrintingInterfaces(*list), *address);
}

UsbChannel LibusbInterfaceSource::OpenInterface(const std::wstring& path) {
    return OpenPrintingInterface(*backend_, path);
}

std::unique_ptr<ArrivalWatch> LibusbInterfaceSource::WatchArrivals() {
    return backend_->WatchArrivals();
}

}  // namespace fwup::libusb
