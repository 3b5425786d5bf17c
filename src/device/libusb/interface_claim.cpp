#include "device/libusb/interface_claim.h"

namespace fwup::libusb {

std::unique_ptr<InterfaceClaim> InterfaceClaim::Take(std::unique_ptr<UsbDeviceHandle> handle,
                                                     std::uint8_t interfaceNumber) {
    if (!handle) {
        return nullptr;
    }
    auto claim = std::make_unique<InterfaceClaim>(std::move(handle), interfaceNumber);
    // An error here (no driver support, device gone) is left to the claim to report.
    if (claim->handle_->KernelDriverActive(interfaceNumber) == 1) {
        if (claim->handle_->DetachKernelDriver(interfaceNumber) != kUsbSuccess) {
            return nullptr;
        }
        claim->driverDetached_ = true;
    }
    if (claim->handle_->ClaimInterface(interfaceNumber) != kUsbSuccess) {
        return nullptr;
    }
    claim->claimed_ = true;
    return claim;
}

InterfaceClaim::InterfaceClaim(std::unique_ptr<UsbDeviceHandle> handle,
                               std::uint8_t interfaceNumber)
    : handle_(std::move(handle)), interfaceNumber_(interfaceNumber) {}

InterfaceClaim::~InterfaceClaim() {
    // Failures are not reported: the device may be gone, and closing the handle below frees
    // whatever the kernel still holds for it.
    if (claimed_) {
        handle_->ReleaseInterface(interfaceNumber_);
    }
    if (driverDetached_) {
        handle_->AttachKernelDriver(interfaceNumber_);
    }
}

}  // namespace fwup::libusb
