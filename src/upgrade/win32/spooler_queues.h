#pragma once

#include <windows.h>

#include <winspool.h>

#include <functional>
#include <utility>

#include "upgrade/print_queues.h"

namespace fwup::win32 {

// Largest PRINTER_INFO_2 listing read; a spooler asking for more is treated as failing rather
// than trusted with the process's memory.
inline constexpr unsigned long kMaxPrinterListingBytes = 16UL * 1024 * 1024;

// The spooler's EnumPrintersW (flags, server name, level, buffer, its size, bytes needed, records
// returned), with the same meaning of its result and of GetLastError afterwards.
using EnumPrintersCall = std::function<BOOL(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD)>;

// The local and connected print queues of the Windows spooler (EnumPrintersW, level 2), with
// each queue's port text (empty when it has none) and queued-job count, every queue in the
// spooler's order.
class SpoolerQueueSource final : public PrintQueueSource {
  public:
    explicit SpoolerQueueSource(EnumPrintersCall enumPrinters = ::EnumPrintersW)
        : enumPrinters_(std::move(enumPrinters)) {}

    std::optional<std::vector<PrintQueue>> ListQueues() override;

  private:
    EnumPrintersCall enumPrinters_;
};

}  // namespace fwup::win32
