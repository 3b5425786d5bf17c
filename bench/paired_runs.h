#pragma once

// Each timed figure compares two ways of doing the same thing. On a shared machine the speed
// drifts by more than the differences measured, from one second to the next; so each iteration
// runs both ways back to back, in alternating order, and the figure is the median over those
// pairs: a slow spell weighs on both sides of a pair alike.

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

namespace fwup::bench {

// One side of a pair: its time in seconds, or a negative number when it failed.
using TimedSide = std::function<double()>;

// The figure of one pair, from the times of the side measured and of its baseline.
using PairFigure = double (*)(double measured, double baseline);

// Runs the pairs of one benchmark. Reports each iteration as the two sides' time together, the
// mean of each side as counters "<name>_ms", and the median of the pairs' figures as counter
// "figure". A side that fails ends the benchmark with an error.
void RunPairs(benchmark::State& state, const std::string& measuredName, const TimedSide& measured,
              const std::string& baselineName, const TimedSide& baseline, PairFigure figureOf);

}  // namespace fwup::bench
