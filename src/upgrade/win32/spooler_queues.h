#pragma once

#include "upgrade/print_queues.h"

namespace fwup::win32 {

// Largest PRINTER_INFO_2 listing read; a spooler asking for more is treated as failing rather
// than trusted with the process's memory.
inline constexpr unsigned long kMaxPrinterListingBytes = 16UL * 1024 * 1024;

// The local and connected print queues of the Windows spooler (EnumPrintersW, level 2), with
// each queue's port text (empty when it has none) and queued-job count.
class SpoolerQueueSource final : public PrintQueueSource {
  public:
    std::optional<std::vector<PrintQueue>> ListQueues() override;
};

}  // namespace fwup::win32
