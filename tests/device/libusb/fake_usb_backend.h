#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "device/libusb/usb_backend.h"

namespace fwup::libusb::testing {

inline constexpr std::uint8_t kOut = 0x01;
inline constexpr std::uint8_t kIn = 0x82;

// A printing interface: class 7, subclass 1, the given protocol, bulk OUT kOut and bulk IN kIn.
inline UsbAltSetting PrinterAlt(std::uint8_t number, std::uint8_t alt = 0,
                                std::uint8_t protocol = 2, std::uint16_t packet = 512) {
    return {number, alt, 7, 1, protocol, {{kOut, 0x02, packet}, {kIn, 0x02, packet}}};
}

inline UsbAltSetting OtherAlt(std::uint8_t number, std::uint8_t interfaceClass) {
    return {number, 0, interfaceClass, 0, 0, {{0x83, 0x03, 8}}};
}

// A scripted answer to one bulk or control transfer. For an IN transfer the bytes are what the
// device sends; more than the host asked for ends the transfer in an overflow, as on the wire.
struct FakeTransfer {
    int status = kUsbSuccess;
    std::vector<std::uint8_t> bytes;
    std::optional<std::size_t> count;  // the count reported instead of the true one (OUT/IN)
};

// What the device sends (IN), ending with `status`.
inline FakeTransfer Sends(std::vector<std::uint8_t> bytes, int status = kUsbSuccess) {
    return {status, std::move(bytes), std::nullopt};
}
// The transfer ends with `status` and reports `count` bytes moved.
inline FakeTransfer Ends(int status, std::size_t count = 0) {
    return {status, {}, count};
}

struct ControlCall {
    std::uint8_t requestType;
    std::uint8_t request;
    std::uint16_t value;
    std::uint16_t index;
    std::size_t length;
    unsigned timeoutMs;
    bool operator==(const ControlCall&) const = default;
};

struct BulkCall {
    std::uint8_t endpoint;
    std::size_t length;
    unsigned timeoutMs;
    bool operator==(const BulkCall&) const = default;
};

// One device on the fake bus, with its state and a record of what was done to it.
struct FakeUsbDevice {
    UsbLocation location;
    UsbDeviceDescriptor descriptor;
    UsbConfiguration configuration;
    std::string serial;  // the bytes of string descriptor descriptor.serialNumberIndex
    int serialStatus = kUsbSuccess;
    std::optional<int> serialCount;  // the count reported instead of serial.size()
    bool descriptorFails = false;
    bool configurationFails = false;
    bool locationFails = false;
    bool openFails = false;

    std::set<std::uint8_t> kernelDriver;  // interfaces a kernel driver holds
    int detachStatus = kUsbSuccess;
    int claimStatus = kUsbSuccess;
    int altStatus = kUsbSuccess;

    std::deque<FakeTransfer> bulkOut;  // unscripted writes go through whole
    std::deque<FakeTransfer> bulkIn;   // unscripted reads time out empty
    std::deque<FakeTransfer> control;  // unscripted requests answer nothing

    std::vector<std::string> calls;  // "open", "detach 0", "claim 0", "alt 0 1", "release 0", ...
    std::vector<BulkCall> bulkCalls;
    std::vector<std::uint8_t> written;
    std::vector<ControlCall> controlCalls;
    int openHandles = 0;
};

class FakeHandle final : public UsbDeviceHandle {
  public:
    explicit FakeHandle(std::shared_ptr<FakeUsbDevice> device) : device_(std::move(device)) {
        ++device_->openHandles;
        device_->calls.push_back("open");
    }
    ~FakeHandle() override {
        --device_->openHandles;
        device_->calls.push_back("close");
    }

    int ReadStringAscii(std::uint8_t index, std::span<std::uint8_t> text) override {
        device_->calls.push_back("string " + std::to_string(index));
        if (device_->serialStatus != kUsbSuccess) {
            return device_->serialStatus;
        }
        const std::size_t n = std::min(text.size(), device_->serial.size());
        std::copy_n(device_->serial.begin(), n, text.begin());
        return device_->serialCount.value_or(static_cast<int>(n));
    }
    int KernelDriverActive(std::uint8_t number) override {
        return device_->kernelDriver.count(number) != 0 ? 1 : 0;
    }
    int DetachKernelDriver(std::uint8_t number) override {
        device_->calls.push_back("detach " + std::to_string(number));
        if (device_->detachStatus == kUsbSuccess) {
            device_->kernelDriver.erase(number);
        }
        return device_->detachStatus;
    }
    int AttachKernelDriver(std::uint8_t number) override {
        device_->calls.push_back("attach " + std::to_string(number));
        device_->kernelDriver.insert(number);
        return kUsbSuccess;
    }
    int ClaimInterface(std::uint8_t number) override {
        device_->calls.push_back("claim " + std::to_string(number));
        if (device_->kernelDriver.count(number) != 0) {
            return kUsbErrorBusy;
        }
        return device_->claimStatus;
    }
    int ReleaseInterface(std::uint8_t number) override {
        device_->calls.push_back("release " + std::to_string(number));
        return kUsbSuccess;
    }
    int SetAltSetting(std::uint8_t number, std::uint8_t alt) override {
        device_->calls.push_back("alt " + std::to_string(number) + " " + std::to_string(alt));
        return device_->altStatus;
    }

    UsbTransfer BulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data,
                        unsigned timeoutMs) override {
        device_->bulkCalls.push_back({endpoint, data.size(), timeoutMs});
        FakeTransfer step{kUsbSuccess, {}, data.size()};
        if (!device_->bulkOut.empty()) {
            step = device_->bulkOut.front();
            device_->bulkOut.pop_front();
        }
        const std::size_t taken = std::min(step.count.value_or(data.size()), data.size());
        device_->written.insert(device_->written.end(), data.begin(), data.begin() + taken);
        return {step.status, step.count.value_or(taken)};
    }
    UsbTransfer BulkIn(std::uint8_t endpoint, std::span<std::uint8_t> data,
                       unsigned timeoutMs) override {
        device_->bulkCalls.push_back({endpoint, data.size(), timeoutMs});
        if (device_->bulkIn.empty()) {
            return {kUsbErrorTimeout, 0};
        }
        const FakeTransfer step = device_->bulkIn.front();
        device_->bulkIn.pop_front();
        if (step.bytes.size() > data.size()) {
            return {kUsbErrorOverflow, 0};
        }
        std::copy(step.bytes.begin(), step.bytes.end(), data.begin());
        return {step.status, step.count.value_or(step.bytes.size())};
    }
    int ControlIn(std::uint8_t requestType, std::uint8_t request, std::uint16_t value,
                  std::uint16_t index, std::span<std::uint8_t> data, unsigned timeoutMs) override {
        device_->controlCalls.push_back(
            {requestType, request, value, index, data.size(), timeoutMs});
        if (device_->control.empty()) {
            return 0;
        }
        const FakeTransfer step = device_->control.front();
        device_->control.pop_front();
        if (step.status != kUsbSuccess) {
            return step.status;
        }
        const std::size_t n = std::min(step.bytes.size(), data.size());
        std::copy_n(step.bytes.begin(), n, data.begin());
        return static_cast<int>(step.count.value_or(n));
    }

  private:
    std::shared_ptr<FakeUsbDevice> device_;
};

class FakeUsbBackend final : public UsbBackend {
  public:
    // Adds a device at bus `bus`, ports `ports`; by default a supported printer with one
    // bidirectional printing interface and the serial SER<n>.
    FakeUsbDevice& Add(std::uint8_t bus, std::vector<std::uint8_t> ports,
                       std::uint16_t productId = 0xB101,
                       std::vector<UsbInterface> interfaces = {{{PrinterAlt(0)}}}) {
        auto device = std::make_shared<FakeUsbDevice>();
        device->location = {bus, static_cast<std::uint8_t>(devices.size() + 2), std::move(ports)};
        device->descriptor = {0x5A7C, productId, 3};
        device->configuration.interfaces = std::move(interfaces);
        device->serial = "SER" + std::to_string(devices.size());
        devices.push_back(device);
        return *device;
    }

    std::unique_ptr<UsbDeviceList> ListDevices() override {
        ++listsTaken;
        if (listFails) {
            return nullptr;
        }
        return std::make_unique<List>(devices);
    }

    std::vector<std::shared_ptr<FakeUsbDevice>> devices;
    bool listFails = false;
    int listsTaken = 0;

  private:
    class List final : public UsbDeviceList {
      public:
        explicit List(std::vector<std::shared_ptr<FakeUsbDevice>> devices)
            : devices_(std::move(devices)) {}
        std::size_t Count() const override { return devices_.size(); }
        bool Location(std::size_t i, UsbLocation& location) override {
            if (i >= devices_.size() || devices_[i]->locationFails) {
                return false;
            }
            location = devices_[i]->location;
            return true;
        }
        bool DeviceDescriptor(std::size_t i, UsbDeviceDescriptor& descriptor) override {
            if (i >= devices_.size() || devices_[i]->descriptorFails) {
                return false;
            }
            descriptor = devices_[i]->descriptor;
            return true;
        }
        bool ActiveConfiguration(std::size_t i, UsbConfiguration& configuration) override {
            if (i >= devices_.size() || devices_[i]->configurationFails) {
                return false;
            }
            configuration = devices_[i]->configuration;
            return true;
        }
        std::unique_ptr<UsbDeviceHandle> Open(std::size_t i) override {
            if (i >= devices_.size() || devices_[i]->openFails) {
                return nullptr;
            }
            return std::make_unique<FakeHandle>(devices_[i]);
        }

      private:
        std::vector<std::shared_ptr<FakeUsbDevice>> devices_;
    };
};

}  // namespace fwup::libusb::testing
