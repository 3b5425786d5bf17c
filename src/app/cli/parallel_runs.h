#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/all_printers.h"
#include "app/cli/cli_options.h"
#include "app/cli/parallel_view.h"
#include "app/cli/run_pool.h"

namespace fwup {
class Clock;
}

namespace fwup::cli {

struct InterruptState;

// The arguments of the copy of this program that runs `command` on `printer` alone, with the
// options of `options` that belong to one printer's run (--yes, --verify and its time-out), its
// lines as JSON for us to read.
std::vector<std::string> ChildArguments(Command command, const CliOptions& options,
                                        const DeviceEntry& printer);

// Several printers' runs, each a child process, at most a given number at once. Each run keeps
// its own pin, lock, checks and question policy (the child's); one run's failure or crash ends
// only that run.
class ParallelRuns {
  public:
    ParallelRuns(ParallelView& view, ChildStarter start, const InterruptState& interrupts,
                 Clock& clock)
        : view_(view), pool_(std::move(start)), interrupts_(interrupts), clock_(clock) {}

    // Queues a run of `args` for `printer`; it starts when a place is free. Returns its number.
    std::size_t Add(const DeviceEntry& printer, std::vector<std::string> args);
    // Starts what may start (nothing after an interrupt), then passes on what the children say
    // for at most `waitMs`. After an interrupt, runs not begun end interrupted and the running
    // ones are asked to stop.
    void Step(std::uint32_t mostAtOnce, std::int64_t waitMs);
    // Runs queued or running.
    bool Busy() const { return queued_ < runs_.size() || pool_.Running() > 0; }
    // Called as each run ends, with its exit code.
    std::function<void(std::size_t run, int exitCode)> onEnded;

    // How every ended run ended, in the order they were added.
    std::vector<PrinterOutcome> Outcomes() const;

  private:
    struct Run {
        DeviceEntry printer;
        std::vector<std::string> args;
        std::optional<int> exitCode = {};
    };
    void End(std::size_t run, int exitCode, const std::wstring& reason);
    void Take(const RunEvent& event);

    ParallelView& view_;
    RunPool pool_;
    const InterruptState& interrupts_;
    Clock& clock_;
    std::vector<Run> runs_;
    std::size_t queued_ = 0;  // the first run not yet started
    bool stopsAsked_ = false;
};

// upgrade --all --parallel and check --all --parallel: writes each printer's run as it goes and
// the summary, and returns the exit code.
int RunAllInParallel(const DeviceList& printers, const CliOptions& options, ProgressStyle style,
                     const ParallelView::Writer& out, const ChildStarter& start,
                     const InterruptState& interrupts, Clock& clock);

// The summary of several printers' runs (text or JSON as `style` says), and its exit code.
int WriteSummary(std::span<const PrinterOutcome> outcomes, ProgressStyle style,
                 const ParallelView::Writer& out);

}  // namespace fwup::cli
