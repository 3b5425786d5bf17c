#pragma once

#include <cstdint>
#include <functional>

#include "app/cli/cli_options.h"
#include "app/cli/parallel_view.h"
#include "app/cli/run_pool.h"
#include "device/discovery.h"

namespace fwup {
class ArrivalWatch;
class Clock;
}  // namespace fwup

namespace fwup::cli {

struct InterruptState;

// How often watch asks its arrival watch whether printers came or went.
inline constexpr std::int64_t kWatchPollMs = 250;
// A printer this watch has sent the firmware to this many times gets no further run until watch
// starts again: a printer that never takes the firmware is not flashed over and over.
inline constexpr int kMostSendsPerPrinter = 2;

// What watch needs from the machine: the printers attached, and (may be null) a watch that says
// when they changed.
struct WatchSources {
    std::function<int(DeviceList&)> listPrinters;
    ArrivalWatch* arrivals = nullptr;
};

// `watch`: until an interrupt, every supported printer attached or plugged in gets one upgrade
// run, several at once. A printer coming back while its own run goes on (from its flash) is that
// run's; one that comes back afterwards on the package's version is asked nothing but its
// version and ends declined (current), as --yes is for its first run only. Writes the summary
// at the interrupt and returns the --all exit code of the runs.
int WatchCommand(const CliOptions& options, ProgressStyle style, const ParallelView::Writer& out,
                 const ChildStarter& start, const WatchSources& sources,
                 const InterruptState& interrupts, Clock& clock);

}  // namespace fwup::cli
