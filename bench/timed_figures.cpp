#include "timed_figures.h"

#include <algorithm>

#include "benchmark_names.h"

namespace fwup::bench {

void TimedResults::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration) {
            continue;
        }
        std::vector<double>& times = seconds_[run.run_name.function_name];
        if (run.error_occurred || run.iterations == 0) {
            times.push_back(0);  // poisons the median: a failed run gives no figure
        } else {
            times.push_back(run.real_accumulated_time / static_cast<double>(run.iterations));
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

bool TimedResults::Ran(const std::string& name) const {
    return seconds_.count(name) != 0;
}

double TimedResults::MedianSeconds(const std::string& name) const {
    const auto found = seconds_.find(name);
    if (found == seconds_.end() || found->second.empty()) {
        return 0;
    }
    std::vector<double> times = found->second;
    if (std::find(times.begin(), times.end(), 0.0) != times.end()) {
        return 0;
    }
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    return times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

std::vector<Figure> TimedFigures(const TimedResults& results) {
    std::vector<Figure> figures;
    // A pair a filter left out gives no figure; one that ran and failed gives a missed one.
    const auto pair = [&](const char* measured, const char* baseline, auto make) {
        if (!results.Ran(measured) && !results.Ran(baseline)) {
            return;
        }
        const double m = results.MedianSeconds(measured);
        const double b = results.MedianSeconds(baseline);
        Figure figure = make(m > 0 ? m : 1, b > 0 ? b : 1);
        if (m == 0 || b == 0) {
            figure.value = 0;
            figure.met = false;
        }
        figures.push_back(figure);
    };
    pair(kTransferSendElf, kTransferPlainLoop, [](double sendElf, double loop) {
        const double ratio = loop / sendElf;
        return Figure{.name = "transfer",
                      .what = "SendElf throughput / plain 256 KiB loop's",
                      .value = ratio,
                      .unit = "x",
                      .target = ">= 0.95",
                      .met = ratio >= 0.95};
    });
    pair(kProgressQt, kProgressNoOp, [](double qt, double noOp) {
        const double percent = (qt - noOp) / noOp * 100;
        return Figure{.name = "progress",
                      .what = "cost of progress through the Qt window",
                      .value = percent,
                      .unit = "%",
                      .target = "< 2 %",
                      .met = percent < 2};
    });
    pair(kStartupFull, kStartupSmall, [](double full, double small) {
        const double ratio = full / small;
        return Figure{.name = "start-up",
                      .what = "to the idle look, full packages / 1 MiB packages",
                      .value = ratio,
                      .unit = "x",
                      .target = "<= 1.5",
                      .met = ratio <= 1.5};
    });
    return figures;
}

}  // namespace fwup::bench
