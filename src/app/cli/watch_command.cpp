#include "app/cli/watch_command.h"

#include <algorithm>
#include <map>
#include <optional>

#include "app/cli/interrupt_state.h"
#include "app/cli/parallel_runs.h"
#include "base/clock.h"
#include "device/printer_arrivals.h"
#include "upgrade/printer_selection.h"

namespace fwup::cli {
namespace {

bool Listed(const DeviceList& printers, const DeviceEntry& printer) {
    return std::any_of(printers.begin(), printers.end(),
                       [&](const DeviceEntry& p) { return SamePrinter(p, printer); });
}

class Watch {
  public:
    Watch(const CliOptions& options, ParallelView& view, ParallelRuns& runs)
        : options_(options), view_(view), runs_(runs) {
        runs_.onEnded = [this](std::size_t run, int) { Ended(run); };
    }

    // Takes a new listing: notes who left, and starts a run for each printer that arrived.
    void Listing(DeviceList listed) {
        for (const DeviceEntry& printer : present_) {
            if (!Listed(listed, printer)) {
                view_.Note(printer, "departed", L"unplugged");
            }
        }
        for (const DeviceEntry& printer : listed) {
            if (!Listed(present_, printer) && !Listed(listed_, printer)) {
                Arrived(printer);
            }
            listed_.push_back(printer);
        }
        listed_.clear();
        present_ = std::move(listed);
    }

  private:
    void Arrived(const DeviceEntry& printer) {
        view_.Note(printer, "arrived", L"plugged in");
        // Its own run goes on: this is the printer back from its flash, that run's to verify.
        if (std::any_of(running_.begin(), running_.end(), [&](const auto& entry) {
                return entry.second.InstanceId == printer.InstanceId;
            })) {
            return;
        }
        const int sends = sends_[printer.InstanceId];
        if (sends >= kMostSendsPerPrinter) {
            view_.Note(printer, "skipped",
                       L"sent the firmware " + std::to_wstring(sends) +
                           L" times already; start watch again to send it once more");
            return;
        }
        CliOptions once = options_;
        // --yes is for the printer's first run: one that comes back on the package's version is
        // current, and is not sent it again.
        once.yes = options_.yes && sends == 0;
        const std::size_t run =
            runs_.Add(printer, ChildArguments(Command::kUpgrade, once, printer));
        running_.emplace(run, printer);
    }

    void Ended(std::size_t run) {
        const auto found = running_.find(run);
        if (found == running_.end()) {
            return;
        }
        if (view_.SentBytes(run)) {
            ++sends_[found->second.InstanceId];
        }
        running_.erase(found);
    }

    const CliOptions& options_;
    ParallelView& view_;
    ParallelRuns& runs_;
    DeviceList present_;
    DeviceList listed_;  // the printers of the listing taken so far (a printer listed twice)
    std::map<std::size_t, DeviceEntry> running_;
    std::map<std::wstring, int> sends_;  // by instance ID: a printer may come back elsewhere
};

}  // namespace

int WatchCommand(const CliOptions& options, ProgressStyle style, const ParallelView::Writer& out,
                 const ChildStarter& start, const WatchSources& sources,
                 const InterruptState& interrupts, Clock& clock) {
    ParallelView view(style, out);
    std::vector<PrinterOutcome> outcomes;
    if (style != ProgressStyle::kJson) {
        out("Watching for printers: each one attached or plugged in is upgraded. Press Ctrl-C "
            "to end.\n");
    }
    {
        ParallelRuns runs(view, start, interrupts, clock);
        Watch watch(options, view, runs);
        std::optional<std::uint64_t> seen;
        std::optional<std::int64_t> listedMs;
        while (!interrupts.requested.load()) {
            const std::int64_t now = clock.MonotonicMs();
            const std::uint64_t changes = sources.arrivals ? sources.arrivals->Changes() : 0;
            const bool due = sources.arrivals
                                 ? changes != seen
                                 : !listedMs || now - *listedMs >= kRelistWithoutWatchMs;
            if (due) {
                DeviceList listed;
                // A listing that fails says nothing about who left: the next one is awaited.
                if (sources.listPrinters(listed) >= 0) {
                    watch.Listing(std::move(listed));
                    seen = changes;
                }
                listedMs = now;
            }
            if (runs.Busy()) {
                runs.Step(0, kWatchPollMs);
            } else {
                clock.SleepMs(static_cast<std::uint32_t>(kWatchPollMs));
            }
        }
        while (runs.Busy()) {
            runs.Step(0, kWatchPollMs);
        }
        outcomes = runs.Outcomes();
    }
    view.Finish();
    return WriteSummary(outcomes, style, out);
}

}  // namespace fwup::cli
