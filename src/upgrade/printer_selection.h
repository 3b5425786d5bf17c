#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "device/discovery.h"

namespace fwup {

class UpgradeFrontEnd;

// The printers of the front end's printer selection: entry i stands for its printer i.
// Rebuilt at the start of every run, on the upgrade worker.
extern DeviceList theDeviceList;

// Rebuilds theDeviceList from discovery and the front end's printer selection from it, selecting
// the first printer. Returns the number of printers, or discovery's negative code (then the
// selection stays empty and "Get system device list failed!" goes to the notice output).
int RefreshPrinterList(UpgradeFrontEnd& frontEnd);

// What the last RefreshPrinterList returned (0 before the first): a run that found no printer
// tells a failed listing, which needs a person, from a printer that is merely not plugged in.
int LastPrinterListResult();

// One printer's whole identity: the same instance ID at the same interface path.
bool SamePrinter(const DeviceEntry& a, const DeviceEntry& b);

// The entry of `printers` that is `pinned` by its whole identity. None when it is gone, or has
// come back under another interface path: that is not known to be the printer that was checked.
std::optional<std::size_t> FindPinnedPrinter(std::span<const DeviceEntry> printers,
                                             const DeviceEntry& pinned);

// The serial part of an instance ID (after its last backslash), or the whole ID without one.
std::wstring SerialOf(const std::wstring& instanceId);

}  // namespace fwup
