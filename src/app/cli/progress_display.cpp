#include "app/cli/progress_display.h"

#include <cstdio>

#include "app/cli/json_line.h"
#include "upgrade/transfer_figures.h"

namespace fwup::cli {
namespace {

// A terminal line redraws at most this often: faster than that nobody reads it.
constexpr std::int64_t kRedrawMs = 100;
constexpr std::int64_t kJsonIntervalMs = 1000;
constexpr int kBarWidth = 30;

}  // namespace

int PercentOf(std::size_t sent, std::size_t total) {
    if (total == 0) {
        return 0;
    }
    return static_cast<int>(static_cast<double>(sent) / static_cast<double>(total) * 100.0);
}

std::string ProgressDisplay::TerminalLine(std::size_t sent, std::size_t total,
                                          std::int64_t nowMs) const {
    const int percent = PercentOf(sent, total);
    const int filled = percent * kBarWidth / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
    const TransferFigures figures = MeasureTransfer(sent, total, nowMs - startMs_.value_or(nowMs));
    const std::string rate = RateText(figures);
    const std::string left = TimeLeftText(figures);
    char line[160];
    std::snprintf(line, sizeof line, "\r[%s] %3d %%  %zu / %zu bytes  %s  %s left   ", bar.c_str(),
                  percent, sent, total, rate.c_str(), left.c_str());
    return line;
}

std::optional<std::string> ProgressDisplay::Report(std::size_t sent, std::size_t total,
                                                   std::int64_t nowMs) {
    if (!startMs_) {
        startMs_ = nowMs;
    }
    lastSent_ = sent;
    lastPercent_ = PercentOf(sent, total);
    const bool done = sent >= total;
    switch (style_) {
        case ProgressStyle::kTerminal:
            if (!done && lastWrittenMs_ && nowMs - *lastWrittenMs_ < kRedrawMs) {
                return std::nullopt;
            }
            lastWrittenMs_ = nowMs;
            lineOpen_ = !done;
            return TerminalLine(sent, total, nowMs) + (done ? "\n" : "");
        case ProgressStyle::kTenths: {
            const int tenth = lastPercent_ / 10;
            if (tenth == lastTenth_) {
                return std::nullopt;
            }
            lastTenth_ = tenth;
            return std::to_string(tenth * 10) + " % (" + std::to_string(sent) + " / " +
                   std::to_string(total) + " bytes)\n";
        }
        case ProgressStyle::kJson:
            if (lastWrittenMs_ && nowMs - *lastWrittenMs_ < kJsonIntervalMs) {
                return std::nullopt;
            }
            lastWrittenMs_ = nowMs;
            return JsonLine()
                .Add("event", "progress")
                .Add("percent", lastPercent_)
                .Add("sent", static_cast<std::int64_t>(sent))
                .Add("total", static_cast<std::int64_t>(total))
                .Text();
    }
    return std::nullopt;
}

std::string ProgressDisplay::Finish() {
    if (!lineOpen_) {
        return {};
    }
    lineOpen_ = false;
    return "\n";
}

}  // namespace fwup::cli
