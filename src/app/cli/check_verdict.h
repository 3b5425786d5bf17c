#pragma once

namespace fwup::cli {

// What `check` read from the printer.
struct CheckReadings {
    bool ready = false;
    int versionVerdict = 0;  // QueryFwVersion's verdict or error
    int security = 0;        // QuerySecurity's result
};

// The exit code of `check`: 0 only when the printer is ready and its version and a valid security
// record were read; otherwise the code an upgrade run ends with at the first step that fails.
// A missing or unreadable record, on which the run would go on with the plain package unasked,
// ends with kExitFailed: a query failed, and a script must not take the printer as known.
int CheckExitCode(const CheckReadings& readings);

// True when the readings decide the package an upgrade would send (a valid record).
bool CheckDecidesPackage(const CheckReadings& readings);

}  // namespace fwup::cli
