#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/cli/json_line.h"
#include "device/discovery.h"
#include "upgrade/printer_selection.h"

namespace fwup::cli {

class ConsoleReport;
struct InterruptState;

// How one printer's run of `--all` ended, as its own result line said.
struct PrinterOutcome {
    DeviceEntry printer;
    int exitCode = 0;
};

// The last line of `--all --json`. `reason` (when not empty) says why no printer was listed.
JsonLine SummaryLine(int exitCode, std::span<const PrinterOutcome> outcomes,
                     const std::wstring& reason = {});

// The summary for a person: a line with the count and the exit code, then one line per printer.
std::wstring SummaryText(int exitCode, std::span<const PrinterOutcome> outcomes);

// Runs `runOne` on each printer of `printers` in order (a printer listed twice once), until an
// interrupt is requested: the printers not yet begun then end interrupted without a run. Writes the
// summary and returns the exit code.
int RunOnEveryPrinter(const DeviceList& printers, ConsoleReport& report,
                      const InterruptState& interrupts,
                      const std::function<PrinterOutcome(const DeviceEntry&)>& runOne);

}  // namespace fwup::cli
