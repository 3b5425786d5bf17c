#pragma once

// The timed benchmarks' results, gathered as they are reported, and the figures made of them.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "bench_support.h"

namespace fwup::bench {

// Prints as the console reporter does and keeps each repetition's "figure" counter (see
// paired_runs.h), by the name the benchmark was registered under.
class TimedResults final : public benchmark::ConsoleReporter {
  public:
    TimedResults() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override;

    bool Ran(const std::string& name) const;
    // The median over the repetitions; false when the benchmark failed in any of them.
    bool Median(const std::string& name, double& median) const;

  private:
    std::map<std::string, std::vector<double>> figures_;
    std::map<std::string, bool> failed_;
};

// The figures of the benchmarks that ran: transfer, progress and start-up.
std::vector<Figure> TimedFigures(const TimedResults& results);

}  // namespace fwup::bench
