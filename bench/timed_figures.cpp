#include "timed_figures.h"

#include <algorithm>

#include "benchmark_names.h"

namespace fwup::bench {

void TimedResults::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration) {
            continue;
        }
        const std::string& name = run.run_name.function_name;
        const auto figure = run.counters.find("figure");
        if (run.error_occurred || figure == run.counters.end()) {
            failed_[name] = true;
        } else {
            figures_[name].push_back(figure->second.value);
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

bool TimedResults::Ran(const std::string& name) const {
    return figures_.count(name) != 0 || failed_.count(name) != 0;
}

bool TimedResults::Median(const std::string& name, double& median) const {
    const auto found = figures_.find(name);
    if (failed_.count(name) != 0 || found == figures_.end() || found->second.empty()) {
        return false;
    }
    std::vector<double> values = found->second;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    median = values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    return true;
}

std::vector<Figure> TimedFigures(const TimedResults& results) {
    struct Rule {
        const char* benchmark;
        Figure figure;
        bool (*met)(double);
    };
    const Rule rules[] = {
        {kTransferBenchmark,
         {.name = "transfer",
          .what = "SendElf throughput / check + plain 256 KiB loop's",
          .unit = "x",
          .target = ">= 0.95"},
         [](double ratio) { return ratio >= 0.95; }},
        {kCheckBenchmark,
         {.name = "check",
          .what = "digest check / whole send at USB 2.0 line rate",
          .unit = "%",
          .target = "< 5 %"},
         [](double percent) { return percent < 5; }},
        {kProgressBenchmark,
         {.name = "progress",
          .what = "cost of progress through the Qt window",
          .unit = "%",
          .target = "< 2 %"},
         [](double percent) { return percent < 2; }},
        {kStartupBenchmark,
         {.name = "start-up",
          .what = "to the idle look, full packages / 1 MiB packages",
          .unit = "x",
          .target = "<= 1.5"},
         [](double ratio) { return ratio <= 1.5; }},
    };
    std::vector<Figure> figures;
    for (const Rule& rule : rules) {
        // A benchmark a filter left out gives no figure; one that failed gives a missed one.
        if (!results.Ran(rule.benchmark)) {
            continue;
        }
        Figure figure = rule.figure;
        figure.met = results.Median(rule.benchmark, figure.value) && rule.met(figure.value);
        figures.push_back(figure);
    }
    return figures;
}

}  // namespace fwup::bench
