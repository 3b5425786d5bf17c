#pragma once

#include <memory>

#include "upgrade/print_queues.h"

namespace fwup {

class InterfaceSource;

// The print queues a program works with: those of the simulated machine when `printers` is a
// scenario that names its queues, otherwise the host's spooler (null when it cannot be reached).
std::unique_ptr<PrintQueueSource> MakeProgramPrintQueueSource(const InterfaceSource* printers);

}  // namespace fwup
