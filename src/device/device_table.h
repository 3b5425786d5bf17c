#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace fwup {

// One printer model the tool can upgrade.
struct DeviceTableRow {
    std::wstring_view HardID;     // USB\VID_vvvv&PID_pppp, matched as a prefix of the instance ID
    std::wstring_view ModelName;  // shown in the printer list
    std::int32_t MFPType;         // 1: single-function printer; n: n-in-1 multifunction printer
};

inline constexpr std::array<DeviceTableRow, 2> DeviceTable = {{
    {L"USB\\VID_5A7C&PID_B101", L"Viruzu TQ3800HKR Series", 3},
    {L"USB\\VID_5A7C&PID_B102", L"Viruzu TQ3800HKS Series", 3},
}};

// True when `instanceId` begins with the row's HardID, ignoring the case of ASCII letters; the
// rest (serial number, interface suffix such as &MI_00) may be anything.
bool InstanceIdMatches(const DeviceTableRow& row, std::wstring_view instanceId);

// The last table row the instance ID matches, or null for a device the tool does not support.
const DeviceTableRow* FindDeviceTableRow(std::wstring_view instanceId);

}  // namespace fwup
