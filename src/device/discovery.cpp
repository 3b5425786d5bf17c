#include "device/discovery.h"

#include <memory>
#include <optional>

#include "device/device_table.h"
#include "device/interface_source.h"
#include "device/port_name.h"
#include "log/tool_log.h"

namespace fwup {
namespace {

std::wstring Cut(std::wstring text, std::size_t maxChars) {
    if (text.size() > maxChars) {
        text.resize(maxChars);
    }
    return text;
}

int InterfaceFailure(InterfaceLookup lookup) {
    switch (lookup) {
        case InterfaceLookup::kNoInterface:
            return kErrNoInterface;
        case InterfaceLookup::kSizeFailed:
            return kErrDetailSize;
        default:
            return kErrInterfaceDetail;
    }
}

}  // namespace

std::wstring HardIdNotice(const DeviceTableRow& row) {
    std::wstring notice = L"HardID = ";
    notice.append(row.HardID);
    notice += L",  MFPType = ";
    notice += row.MFPType == 1 ? std::wstring(L"sfp") : std::to_wstring(row.MFPType) + L"in1";
    notice += L"\r\n";
    return notice;
}

bool MatchHardID(DeviceEntry& entry, std::wstring_view instanceId) {
    bool matched = false;
    for (const DeviceTableRow& row : DeviceTable) {
        if (!InstanceIdMatches(row, instanceId)) {
            continue;
        }
        entry.ModelName = Cut(std::wstring(row.ModelName), kMaxModelNameChars);
        ToolShowNotice(HardIdNotice(row));
        matched = true;
    }
    return matched;
}

int GetSystemDeviceList(DeviceList& list) {
    std::unique_ptr<DeviceInterfaceSet> set = ActiveInterfaceSource().OpenSet();
    if (!set) {
        return kErrDeviceSet;
    }
    for (std::uint32_t index = 0; index < kMaxDevicesWalked; ++index) {
        std::wstring instanceId;
        const SetLookup device = set->DeviceInstanceId(index, instanceId);
        if (device == SetLookup::kEnd) {
            break;
        }
        if (device == SetLookup::kFailed) {
            return kErrInstanceId;
        }
        DeviceEntry entry;
        if (!MatchHardID(entry, instanceId)) {
            continue;
        }
        std::wstring path;
        const InterfaceLookup found = set->DeviceInterfacePath(index, path);
        if (found != InterfaceLookup::kFound) {
            return InterfaceFailure(found);
        }
        if (const std::optional<std::wstring> port = GetUSBPortName(path)) {
            entry.PortName = Cut(*port, kMaxPortNameChars);
        }
        entry.InstanceId = std::move(instanceId);
        entry.InterfacePath = std::move(path);
        list.push_back(std::move(entry));
    }
    return kDiscoveryOk;
}

}  // namespace fwup
