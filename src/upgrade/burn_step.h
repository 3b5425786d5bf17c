#pragma once

#include "device/printer_target.h"

namespace fwup {

class TransferObserver;

// Sends the firmware package the printer needs to `printer`: resource 3001 when bFwEncrypted
// is set, 3000 otherwise, logging which. Returns 1 when the whole package was written, otherwise
// SendElf's negative code, also written to the debugger output and the tool log. The transfer's
// progress goes to `observer` (may be null); this step adds no waits and no retries.
int BurnFW(const PrinterTarget& printer, TransferObserver* observer = nullptr);

}  // namespace fwup
