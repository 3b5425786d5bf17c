#pragma once

#include "device/printer_target.h"

#include "upgrade/upgrade_front_end.h"

namespace fwup {

struct RunRecord;

// What CheckPrinterStatus returns when the printer cannot be asked (no channel, or the status
// query failed). It is not one of the ready states, so the run stops as for a busy printer.
inline constexpr int kPrinterStatusUnknown = 5;

// The printer's status byte (signed) from a channel of its own to `printer`, or
// kPrinterStatusUnknown. The channel is closed before it returns.
int CheckPrinterStatus(const PrinterTarget& printer);

// True for the status bytes in which the printer takes firmware: ready (0, 2) and asleep (4).
bool IsReadyForUpgrade(int status);

// One upgrade run on the calling thread, from the printer check to its final status, told to
// `frontEnd` as it goes. While the printers are simulated, the run's first log line names the
// scenario file. Sets bUpgrading after OnRunBegins and clears it as the very last thing,
// after the last call into the front end. `record`, when given, receives what the run did: the
// printer, the version read, what was sent and the outcome's word (see run_history.h).
UpgradeOutcome RunUpgrade(UpgradeFrontEnd& frontEnd, RunRecord* record = nullptr);

}  // namespace fwup
