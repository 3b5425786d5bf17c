#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fwup {

// One print queue as the spooler reports it: the port it prints to and its queued jobs.
struct PrintQueue {
    std::wstring portName;
    std::uint32_t jobs = 0;
};

// Where the print queues come from: the Windows spooler (EnumPrintersW), CUPS, or a fake.
class PrintQueueSource {
  public:
    virtual ~PrintQueueSource() = default;
    // The queues in the spooler's order, or none when they cannot be listed.
    virtual std::optional<std::vector<PrintQueue>> ListQueues() = 0;
};

// The platform's own queues (defined in the platform folder), or null when the spooler cannot be
// reached at all.
std::unique_ptr<PrintQueueSource> MakeHostPrintQueueSource();

// The source the core uses. Until one is installed there are no queues. Install before any
// worker thread starts; nullptr restores the empty source. The source installed before is
// returned.
PrintQueueSource& ActivePrintQueueSource();
PrintQueueSource* SetActivePrintQueueSource(PrintQueueSource* source);

// True when any queue whose port name equals `portName` exactly (case-sensitive, whole text)
// holds one or more jobs. A spooler that cannot be asked counts as not occupied.
bool IsPortOccupied(std::wstring_view portName);

}  // namespace fwup
