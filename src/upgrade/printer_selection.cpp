#include "upgrade/printer_selection.h"

#include <atomic>

#include "log/tool_log.h"
#include "upgrade/upgrade_front_end.h"

namespace fwup {

DeviceList theDeviceList;

namespace {
std::atomic<int> lastListResult{0};
}  // namespace

int LastPrinterListResult() {
    return lastListResult.load();
}

int RefreshPrinterList(UpgradeFrontEnd& frontEnd) {
    frontEnd.ClearPrinters();
    theDeviceList.clear();
    const int found = GetSystemDeviceList(theDeviceList);
    lastListResult.store(found < 0 ? found : static_cast<int>(theDeviceList.size()));
    if (found < 0) {
        // Entries appended before the failure would have no place in the (empty) selection;
        // dropping them keeps entry i and printer i of the front end the same printer.
        theDeviceList.clear();
        ToolShowNotice(L"Get system device list failed!");
        return found;
    }
    for (std::size_t i = 0; i < theDeviceList.size(); ++i) {
        const int index = static_cast<int>(i);
        theDeviceList[i].ListIndex = index;
        frontEnd.AddPrinter(index, theDeviceList[i]);
    }
    frontEnd.SelectPrinter(0);
    return static_cast<int>(theDeviceList.size());
}

bool SamePrinter(const DeviceEntry& a, const DeviceEntry& b) {
    return a.InstanceId == b.InstanceId && a.InterfacePath == b.InterfacePath;
}

std::optional<std::size_t> FindPinnedPrinter(std::span<const DeviceEntry> printers,
                                             const DeviceEntry& pinned) {
    // The whole identity, always: a printer that answers to the instance ID alone may be
    // another one with the same serial, or the one that was just flashed.
    for (std::size_t i = 0; i < printers.size(); ++i) {
        if (SamePrinter(printers[i], pinned)) {
            return i;
        }
    }
    return std::nullopt;
}

std::wstring SerialOf(const std::wstring& instanceId) {
    const std::size_t slash = instanceId.rfind(L'\\');
    return slash == std::wstring::npos ? instanceId : instanceId.substr(slash + 1);
}

}  // namespace fwup
