#pragma once

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

}  // namespace fwup
