#pragma once

#include "device/discovery.h"

namespace fwup {

// The printers of the main window's (hidden) printer list: entry i stands for item i.
// Rebuilt at the start of every run, on the upgrade worker.
extern DeviceList theDeviceList;

// Rebuilds theDeviceList from discovery and the main window's printer list from it, selecting
// the first printer. Returns the number of printers, or discovery's negative code (then the
// printer list stays empty and "Get system device list failed!" goes to the notice output).
int RefreshPrinterList();

}  // namespace fwup
