#include "device/device_table.h"

#include "base/wide_text.h"

namespace fwup {

bool InstanceIdMatches(const DeviceTableRow& row, std::wstring_view instanceId) {
    return StartsWithIgnoringAsciiCase(instanceId, row.HardID);
}

const DeviceTableRow* FindDeviceTableRow(std::wstring_view instanceId) {
    const DeviceTableRow* found = nullptr;
    for (const DeviceTableRow& row : DeviceTable) {
        if (InstanceIdMatches(row, instanceId)) {
            found = &row;
        }
    }
    return found;
}

}  // namespace fwup
