#include "app/common/program_print_queues.h"

#include <utility>
#include <vector>

#include "emulation/sim_interface_source.h"

namespace fwup {
namespace {

class ScenarioPrintQueues final : public PrintQueueSource {
  public:
    explicit ScenarioPrintQueues(std::vector<PrintQueue> queues) : queues_(std::move(queues)) {}
    std::optional<std::vector<PrintQueue>> ListQueues() override { return queues_; }

  private:
    std::vector<PrintQueue> queues_;
};

}  // namespace

std::unique_ptr<PrintQueueSource> MakeProgramPrintQueueSource(const InterfaceSource* printers) {
    const auto* simulated = dynamic_cast<const SimInterfaceSource*>(printers);
    if (simulated != nullptr && simulated->printQueues()) {
        std::vector<PrintQueue> queues;
        for (const QueueScenario& queue : *simulated->printQueues()) {
            queues.push_back(PrintQueue{queue.portName, queue.jobs});
        }
        return std::make_unique<ScenarioPrintQueues>(std::move(queues));
    }
    return MakeHostPrintQueueSource();
}

}  // namespace fwup
