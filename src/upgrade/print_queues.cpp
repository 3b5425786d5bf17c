#include "upgrade/print_queues.h"

#include "base/process_slot.h"

namespace fwup {
namespace {

class NoQueues final : public PrintQueueSource {
  public:
    std::optional<std::vector<PrintQueue>> ListQueues() override {
        return std::vector<PrintQueue>{};
    }
};

ServiceSlot<PrintQueueSource> installedSource;

}  // namespace

PrintQueueSource& ActivePrintQueueSource() {
    static NoQueues noQueues;
    return installedSource.Or(noQueues);
}

PrintQueueSource* SetActivePrintQueueSource(PrintQueueSource* source) {
    return installedSource.Exchange(source);
}

bool IsPortOccupied(std::wstring_view portName) {
    // A printer without a port name has no queue of its own; without this, every queue that
    // reports no port (network queues, CUPS queues of absent printers) would claim it.
    if (portName.empty()) {
        return false;
    }
    const std::optional<std::vector<PrintQueue>> queues = ActivePrintQueueSource().ListQueues();
    if (!queues) {
        return false;
    }
    // A printer often has several queues (a reinstalled driver, one per paper setting): jobs in
    // any of them are work the spooler still has for the printer.
    for (const PrintQueue& queue : *queues) {
        if (queue.portName == portName && queue.jobs > 0) {
            return true;
        }
    }
    return false;
}

}  // namespace fwup
