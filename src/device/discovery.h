#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/device_table.h"

namespace fwup {

// Longest texts an entry holds; longer ones are cut.
inline constexpr std::size_t kMaxModelNameChars = 259;
inline constexpr std::size_t kMaxPortNameChars = 255;
// Devices looked at per walk, in the platform's order; later ones are never examined.
inline constexpr std::uint32_t kMaxDevicesWalked = 10;

// Results of GetSystemDeviceList.
inline constexpr int kDiscoveryOk = 1;
inline constexpr int kErrDeviceSet = -1;        // making the device information set failed
inline constexpr int kErrInstanceId = -2;       // reading a device's instance ID failed
inline constexpr int kErrNoInterface = -3;      // a matched device has no USB printing interface
inline constexpr int kErrDetailSize = -4;       // asking for the interface detail's size failed
inline constexpr int kErrInterfaceDetail = -5;  // reading the interface detail failed

// One discovered printer.
struct DeviceEntry {
    std::wstring ModelName;      // the matched table row's model name
    std::wstring PortName;       // e.g. USB001; empty when its interface has no port name
    std::int32_t ListIndex = 0;  // position in the window's printer list, set by its owner
    // The device instance ID and the interface path behind PortName when it was found: the
    // printer's identity, which a command holds the port name to (PrinterTarget).
    std::wstring InstanceId;
    std::wstring InterfacePath;
};

using DeviceList = std::vector<DeviceEntry>;

// The notice that announces a matched row: "HardID = <id>,  MFPType = 3in1" (or "sfp" for a
// single-function printer), with a CR LF.
std::wstring HardIdNotice(const DeviceTableRow& row);

// Announces each table row the instance ID matches on the notice output and puts the (last)
// matching row's model name into `entry`. True when any row matched.
bool MatchHardID(DeviceEntry& entry, std::wstring_view instanceId);

// Appends the supported printers present now, in the platform's order, each with its model name,
// port name, instance ID and interface path. Returns 1, or one of the negative codes above when a
// platform call failed; the entries appended before the failure stay in the list.
int GetSystemDeviceList(DeviceList& list);

}  // namespace fwup
