#include "app/cli/parallel_runs.h"

#include <algorithm>

#include "app/cli/exit_codes.h"
#include "app/cli/interrupt_state.h"
#include "base/clock.h"
#include "base/wide_text.h"

namespace fwup::cli {
namespace {

// How long a step waits for a child's line when nothing else is due: an interrupt is seen within
// it.
constexpr std::int64_t kStepWaitMs = 100;

std::wstring EndedWithout(const ChildEnd& end) {
    return end.exited ? L"the printer's run ended with " + std::to_wstring(end.exitCode) +
                            L" without its result line"
                      : L"the printer's run was " + FromUtf8(end.how);
}

}  // namespace

std::vector<std::string> ChildArguments(Command command, const CliOptions& options,
                                        const DeviceEntry& printer) {
    std::vector<std::string> args{command == Command::kCheck ? "check" : "upgrade", "--json"};
    args.insert(args.end(),
                {"--pinned-instance-id", ToUtf8(printer.InstanceId), "--pinned-interface-path",
                 ToUtf8(printer.InterfacePath), "--pinned-port", ToUtf8(printer.PortName),
                 "--pinned-model", ToUtf8(printer.ModelName)});
    if (command != Command::kCheck) {
        if (options.yes) {
            args.emplace_back("--yes");
        }
        if (options.verify) {
            args.insert(args.end(), {"--verify", "--verify-timeout",
                                     std::to_string(options.verifyTimeoutSeconds)});
        }
    }
    return args;
}

std::size_t ParallelRuns::Add(const DeviceEntry& printer, std::vector<std::string> args) {
    runs_.push_back({.printer = printer, .args = std::move(args)});
    const std::size_t run = view_.Add(printer);
    return run;
}

void ParallelRuns::End(std::size_t run, int exitCode, const std::wstring& reason) {
    runs_[run].exitCode = exitCode;
    view_.Ended(run, exitCode, reason);
    if (onEnded) {
        onEnded(run, exitCode);
    }
}

void ParallelRuns::Take(const RunEvent& event) {
    if (!event.ended) {
        view_.Line(event.run, event.line, clock_.MonotonicMs());
        return;
    }
    // The exit code is the child's word on its run; a child that has none ended without saying.
    const int code = event.end.exited ? event.end.exitCode : kExitError;
    End(event.run, code, EndedWithout(event.end));
}

void ParallelRuns::Step(std::uint32_t mostAtOnce, std::int64_t waitMs) {
    if (interrupts_.requested.load()) {
        if (!stopsAsked_) {
            stopsAsked_ = true;
            pool_.InterruptAll();
        }
        // Not begun: nothing was sent to them, as for --all's printers after an interrupt.
        for (; queued_ < runs_.size(); ++queued_) {
            End(queued_, kExitInterrupted, L"interrupted before the printer's run began");
        }
    }
    while (queued_ < runs_.size() && (mostAtOnce == 0 || pool_.Running() < mostAtOnce)) {
        const std::size_t run = queued_++;
        std::string error;
        view_.Started(run);
        if (!pool_.Start(run, runs_[run].args, error)) {
            End(run, kExitError, L"the printer's run could not be started: " + FromUtf8(error));
        }
    }
    if (pool_.Running() == 0) {
        view_.Redraw(clock_.MonotonicMs());
        return;
    }
    if (std::optional<RunEvent> event = pool_.Next(std::min(waitMs, kStepWaitMs))) {
        Take(*event);
        // Whatever else is queued already goes out at once.
        while (std::optional<RunEvent> more = pool_.Next(0)) {
            Take(*more);
        }
    }
    view_.Redraw(clock_.MonotonicMs());
}

std::vector<PrinterOutcome> ParallelRuns::Outcomes() const {
    std::vector<PrinterOutcome> outcomes;
    for (const Run& run : runs_) {
        if (run.exitCode) {
            outcomes.push_back({run.printer, *run.exitCode});
        }
    }
    return outcomes;
}

int WriteSummary(std::span<const PrinterOutcome> outcomes, ProgressStyle style,
                 const ParallelView::Writer& out) {
    std::vector<int> codes;
    for (const PrinterOutcome& outcome : outcomes) {
        codes.push_back(outcome.exitCode);
    }
    const int code = AllPrintersExitCode(codes);
    if (style == ProgressStyle::kJson) {
        out(SummaryLine(code, outcomes).Text());
    } else {
        out("\n" + ToUtf8(SummaryText(code, outcomes)) + "\n");
    }
    return code;
}

int RunAllInParallel(const DeviceList& printers, const CliOptions& options, ProgressStyle style,
                     const ParallelView::Writer& out, const ChildStarter& start,
                     const InterruptState& interrupts, Clock& clock) {
    ParallelView view(style, out);
    std::vector<PrinterOutcome> outcomes;
    {
        ParallelRuns runs(view, start, interrupts, clock);
        std::vector<DeviceEntry> taken;
        for (const DeviceEntry& printer : printers) {
            // A printer listed twice is one printer: one run, one line in the summary.
            if (std::none_of(taken.begin(), taken.end(),
                             [&](const DeviceEntry& t) { return SamePrinter(t, printer); })) {
                taken.push_back(printer);
                runs.Add(printer, ChildArguments(options.command, options, printer));
            }
        }
        while (runs.Busy()) {
            runs.Step(*options.parallel, kStepWaitMs);
        }
        outcomes = runs.Outcomes();
    }
    view.Finish();
    return WriteSummary(outcomes, style, out);
}

}  // namespace fwup::cli
