#include "paired_runs.h"

#include <algorithm>
#include <vector>

namespace fwup::bench {
namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

void RunPairs(benchmark::State& state, const std::string& measuredName, const TimedSide& measured,
              const std::string& baselineName, const TimedSide& baseline, PairFigure figureOf) {
    std::vector<double> figures;
    double measuredTotal = 0;
    double baselineTotal = 0;
    for (auto _ : state) {
        const bool measuredFirst = figures.size() % 2 == 0;
        const double first = measuredFirst ? measured() : baseline();
        const double second = first < 0 ? -1 : (measuredFirst ? baseline() : measured());
        if (first < 0 || second < 0) {
            state.SkipWithError("a side of the pair failed; see its message above");
            return;
        }
        const double measuredSeconds = measuredFirst ? first : second;
        const double baselineSeconds = measuredFirst ? second : first;
        state.SetIterationTime(measuredSeconds + baselineSeconds);
        measuredTotal += measuredSeconds;
        baselineTotal += baselineSeconds;
        figures.push_back(figureOf(measuredSeconds, baselineSeconds));
    }
    if (figures.empty()) {
        return;
    }
    const auto count = static_cast<double>(figures.size());
    state.counters[measuredName + "_ms"] = measuredTotal * 1000 / count;
    state.counters[baselineName + "_ms"] = baselineTotal * 1000 / count;
    state.counters["figure"] = Median(figures);
}

}  // namespace fwup::bench
