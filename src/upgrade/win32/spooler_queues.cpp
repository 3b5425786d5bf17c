#include "upgrade/win32/spooler_queues.h"

#include <windows.h>

#include <winspool.h>

#include <memory>
#include <new>

namespace fwup {
namespace win32 {

std::optional<std::vector<PrintQueue>> SpoolerQueueSource::ListQueues() {
    constexpr DWORD kFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    constexpr DWORD kLevel = 2;
    DWORD needed = 0;
    DWORD returned = 0;
    if (enumPrinters_(kFlags, nullptr, kLevel, nullptr, 0, &needed, &returned)) {
        return std::vector<PrintQueue>{};  // nothing to list needs no buffer
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0 ||
        needed > kMaxPrinterListingBytes) {
        return std::nullopt;
    }
    // Heap memory from operator new is aligned for the PRINTER_INFO_2 records at its start.
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[needed]);
    if (!buffer) {
        return std::nullopt;
    }
    if (!enumPrinters_(kFlags, nullptr, kLevel, buffer.get(), needed, &needed, &returned)) {
        return std::nullopt;
    }
    // The records only hold pointers into the same buffer, so `returned` bounds the walk only if
    // it fits; a spooler claiming more records than bytes is not believed.
    if (static_cast<unsigned long long>(returned) * sizeof(PRINTER_INFO_2W) > needed) {
        return std::nullopt;
    }
    const auto* records = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.get());
    std::vector<PrintQueue> queues;
    queues.reserve(returned);
    for (DWORD i = 0; i < returned; ++i) {
        PrintQueue queue;
        if (records[i].pPortName != nullptr) {
            queue.portName = records[i].pPortName;
        }
        queue.jobs = records[i].cJobs;
        queues.push_back(std::move(queue));
    }
    return queues;
}

}  // namespace win32

std::unique_ptr<PrintQueueSource> MakeHostPrintQueueSource() {
    return std::make_unique<win32::SpoolerQueueSource>();
}

}  // namespace fwup
