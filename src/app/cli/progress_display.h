#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace fwup::cli {

enum class ProgressStyle {
    kTerminal,  // one line that redraws itself
    kTenths,    // one line at each tenth of the package
    kJson,      // a JSON line at most once a second
};

// Turns the transfer's reports into output, deciding when something is worth writing; the
// transfer waits for each report, so most of them must cost no output at all.
class ProgressDisplay {
  public:
    explicit ProgressDisplay(ProgressStyle style) : style_(style) {}

    // The text to write for `sent` of `total` bytes at monotonic time `nowMs`, or none.
    std::optional<std::string> Report(std::size_t sent, std::size_t total, std::int64_t nowMs);
    // What ends a redrawn line before other output may follow, or empty.
    std::string Finish();

    int LastPercent() const { return lastPercent_; }
    std::size_t LastSent() const { return lastSent_; }

  private:
    std::string TerminalLine(std::size_t sent, std::size_t total, std::int64_t nowMs) const;

    ProgressStyle style_;
    std::optional<std::int64_t> startMs_;
    std::optional<std::int64_t> lastWrittenMs_;
    int lastTenth_ = -1;
    int lastPercent_ = 0;
    std::size_t lastSent_ = 0;
    bool lineOpen_ = false;
};

// The whole percentage of `sent` in `total` (0 for an empty total).
int PercentOf(std::size_t sent, std::size_t total);

}  // namespace fwup::cli
