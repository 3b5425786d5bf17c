#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "device/channel.h"
#include "device/printer_arrivals.h"

namespace fwup {

// Outcome of looking up one entry of a device interface set.
enum class SetLookup {
    kFound,   // the entry exists and was read
    kEnd,     // no entry at this index: the walk is over
    kFailed,  // the platform call failed
};

// Outcome of reading the path of a device's first USB printing interface.
enum class InterfaceLookup {
    kFound,
    kNoInterface,   // the device has no USB printing interface
    kSizeFailed,    // asking for the interface detail's size failed
    kDetailFailed,  // reading the interface detail failed (allocation failures included)
};

// One snapshot of the present USB printing interfaces, in the platform's stable order. It holds
// its platform resources until destroyed.
class DeviceInterfaceSet {
  public:
    virtual ~DeviceInterfaceSet() = default;
    // The device instance ID of the device at `deviceIndex`, e.g. USB\VID_5A7C&PID_B101\0123.
    virtual SetLookup DeviceInstanceId(std::uint32_t deviceIndex, std::wstring& instanceId) = 0;
    // The path of the first USB printing interface of the device at `deviceIndex`.
    virtual InterfaceLookup DeviceInterfacePath(std::uint32_t deviceIndex, std::wstring& path) = 0;
};

// Where the present USB printing interfaces come from: SetupAPI and the registry on Windows,
// libusb on Linux, or the simulated printer.
class InterfaceSource {
  public:
    virtual ~InterfaceSource() = default;
    // A snapshot of the present interfaces, or null when none can be made.
    virtual std::unique_ptr<DeviceInterfaceSet> OpenSet() = 0;
    // The port number the platform keeps for the interface at `path` (read only), or none.
    virtual std::optional<std::uint32_t> PortNumber(const std::wstring& path) = 0;
    // Opens the interface at `path` for synchronous reading and writing, or returns null.
    virtual UsbChannel OpenInterface(const std::wstring& path) = 0;
    // A watch that sees printers plugged in and pulled from now on, or null where this source
    // cannot watch (a window then lists the printers again every kRelistWithoutWatchMs).
    virtual std::unique_ptr<ArrivalWatch> WatchArrivals() { return nullptr; }
};

// The platform's own interface source (defined in the platform folder), or null when the
// platform's USB access cannot be started.
std::unique_ptr<InterfaceSource> MakeHostInterfaceSource();

// The source the core uses. Until one is installed it is empty (no interfaces). Installing nullptr
// restores the empty source. Install before any worker thread starts; the source installed before
// is returned.
InterfaceSource& ActiveInterfaceSource();
InterfaceSource* SetActiveInterfaceSource(InterfaceSource* source);

}  // namespace fwup
