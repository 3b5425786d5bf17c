#pragma once

#include <string_view>

namespace fwup {

class CVevaVoRirizevDlg;

// What CheckPrinterStatus returns when the printer cannot be asked (no channel, or the status
// query failed). It is not one of the ready states, so the run stops as for a busy printer.
inline constexpr int kPrinterStatusUnknown = 5;

// The printer's status byte (signed) from a channel of its own to `portName`, or
// kPrinterStatusUnknown. The channel is closed before it returns.
int CheckPrinterStatus(std::wstring_view portName);

// True for the status bytes in which the printer takes firmware: ready (0, 2) and asleep (4).
bool IsReadyForUpgrade(int status);

// One upgrade run on the calling thread, from the printer check to its final status, with the
// window locked meanwhile. Every window operation is a request to the window thread, so this runs
// on a worker while the window keeps pumping; tests run it synchronously against a recording
// surface. Sets bUpgrading for the run and clears it as the very last thing, after the last call
// into the window. While the printers are simulated, the run's first log line names the scenario
// file. Always returns 0.
int UpgradeThreadProc(CVevaVoRirizevDlg* window);

}  // namespace fwup
