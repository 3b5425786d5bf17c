#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace fwup {

// What a transfer's progress says to a person: how far, how fast, how long still. The console
// program and the window write them alike.
struct TransferFigures {
    std::size_t sent = 0;
    std::size_t total = 0;
    std::optional<double> bytesPerSecond;          // none before anything was sent, or at once
    std::optional<std::int64_t> secondsLeft = {};  // none without a rate
};

// The figures for `sent` of `total` bytes, `elapsedMs` after the first report.
TransferFigures MeasureTransfer(std::size_t sent, std::size_t total, std::int64_t elapsedMs);

// "2345.6 kB/s", or "-" without a rate.
std::string RateText(const TransferFigures& figures);
// "1:23" (minutes and seconds), or "-" without a rate.
std::string TimeLeftText(const TransferFigures& figures);
// A duration as minutes and seconds: "0:42", "12:05".
std::string MinutesSeconds(std::int64_t seconds);

}  // namespace fwup
