#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "app/common/program_services.h"
#include "upgrade/print_queues.h"

namespace fwup::testing {

// The spooler's queues as the test sets them (none: the listing fails), installed while the
// object lives.
class FakePrintQueues final : public PrintQueueSource {
  public:
    explicit FakePrintQueues(
        std::optional<std::vector<PrintQueue>> listed = std::vector<PrintQueue>{})
        : queues(std::move(listed)) {}
    FakePrintQueues(const FakePrintQueues&) = delete;
    FakePrintQueues& operator=(const FakePrintQueues&) = delete;

    std::optional<std::vector<PrintQueue>> ListQueues() override { return queues; }

    std::optional<std::vector<PrintQueue>> queues;

  private:
    const InstalledServices installed_{{.printQueues = this}};
};

}  // namespace fwup::testing
