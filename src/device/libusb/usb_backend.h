#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "device/printer_arrivals.h"

// The thin wrapper over the libusb calls the Linux adapter makes. Everything above it sees plain
// structs and libusb's status numbers only, so discovery, the open procedure and the channel run
// unchanged against the fake backend of the tests. Whatever comes through here was said by a USB
// device or the kernel and is untrusted: counts may exceed buffers, lists may be empty or huge.

namespace fwup::libusb {

// libusb's status values, kept numerically identical (the real backend checks this at compile
// time) so the wrapper passes them through untranslated.
inline constexpr int kUsbSuccess = 0;
inline constexpr int kUsbErrorIo = -1;
inline constexpr int kUsbErrorAccess = -3;
inline constexpr int kUsbErrorNoDevice = -4;
inline constexpr int kUsbErrorNotFound = -5;
inline constexpr int kUsbErrorBusy = -6;
inline constexpr int kUsbErrorTimeout = -7;
inline constexpr int kUsbErrorOverflow = -8;
inline constexpr int kUsbErrorPipe = -9;
inline constexpr int kUsbErrorNotSupported = -12;

// Deepest port path USB allows (seven tiers); libusb reports no more.
inline constexpr std::size_t kMaxPortDepth = 7;

struct UsbEndpoint {
    std::uint8_t address = 0;     // bEndpointAddress: bit 7 set for IN
    std::uint8_t attributes = 0;  // bmAttributes: bits 0-1 are the transfer type, 2 for bulk
    std::uint16_t maxPacketSize = 0;
};

struct UsbAltSetting {
    std::uint8_t interfaceNumber = 0;
    std::uint8_t alternateSetting = 0;
    std::uint8_t interfaceClass = 0;
    std::uint8_t interfaceSubClass = 0;
    std::uint8_t interfaceProtocol = 0;
    std::vector<UsbEndpoint> endpoints;
};

// One interface of a configuration with all its alternate settings.
struct UsbInterface {
    std::vector<UsbAltSetting> altSettings;
};

struct UsbConfiguration {
    std::vector<UsbInterface> interfaces;
};

struct UsbDeviceDescriptor {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint8_t serialNumberIndex = 0;  // iSerialNumber: 0 when the device names no serial
};

// Where a device sits: its bus, its address on that bus (new on every plug-in) and the hub ports
// from the root hub down (empty for a root hub).
struct UsbLocation {
    std::uint8_t bus = 0;
    std::uint8_t address = 0;
    std::vector<std::uint8_t> ports;
};

struct UsbTransfer {
    int status = kUsbSuccess;
    std::size_t transferred = 0;  // also meaningful with kUsbErrorTimeout: the part that went
};

// An open device. Destroying it closes it.
class UsbDeviceHandle {
  public:
    virtual ~UsbDeviceHandle() = default;
    // String descriptor `index` of the first language, non-ASCII characters as '?', into `text`.
    // Returns the byte count or a negative status.
    virtual int ReadStringAscii(std::uint8_t index, std::span<std::uint8_t> text) = 0;
    // 1 when a kernel driver holds the interface, 0 when none does, or a negative status.
    virtual int KernelDriverActive(std::uint8_t interfaceNumber) = 0;
    virtual int DetachKernelDriver(std::uint8_t interfaceNumber) = 0;
    virtual int AttachKernelDriver(std::uint8_t interfaceNumber) = 0;
    virtual int ClaimInterface(std::uint8_t interfaceNumber) = 0;
    virtual int ReleaseInterface(std::uint8_t interfaceNumber) = 0;
    virtual int SetAltSetting(std::uint8_t interfaceNumber, std::uint8_t alternateSetting) = 0;
    // One synchronous bulk transfer of the whole span.
    virtual UsbTransfer BulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data,
                                unsigned timeoutMs) = 0;
    virtual UsbTransfer BulkIn(std::uint8_t endpoint, std::span<std::uint8_t> data,
                               unsigned timeoutMs) = 0;
    // One control transfer device-to-host with wLength = data.size() (at most 65535).
    // Returns the byte count or a negative status.
    virtual int ControlIn(std::uint8_t requestType, std::uint8_t request, std::uint16_t value,
                          std::uint16_t index, std::span<std::uint8_t> data,
                          unsigned timeoutMs) = 0;
};

// A snapshot of the devices on the system. It keeps its devices referenced until destroyed.
class UsbDeviceList {
  public:
    virtual ~UsbDeviceList() = default;
    virtual std::size_t Count() const = 0;
    // Each returns false when the device at `index` cannot tell (or there is none).
    virtual bool Location(std::size_t index, UsbLocation& location) = 0;
    virtual bool DeviceDescriptor(std::size_t index, UsbDeviceDescriptor& descriptor) = 0;
    virtual bool ActiveConfiguration(std::size_t index, UsbConfiguration& configuration) = 0;
    // Opens the device at `index`, or returns null.
    virtual std::unique_ptr<UsbDeviceHandle> Open(std::size_t index) = 0;
};

class UsbBackend {
  public:
    virtual ~UsbBackend() = default;
    // The devices present now, or null when they cannot be listed.
    virtual std::unique_ptr<UsbDeviceList> ListDevices() = 0;
    // A watch of printers plugged in and pulled, or null where this backend cannot watch.
    virtual std::unique_ptr<ArrivalWatch> WatchArrivals() { return nullptr; }
};

}  // namespace fwup::libusb
