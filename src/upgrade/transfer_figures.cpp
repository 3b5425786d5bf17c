#include "upgrade/transfer_figures.h"

#include <cstdio>

namespace fwup {

TransferFigures MeasureTransfer(std::size_t sent, std::size_t total, std::int64_t elapsedMs) {
    TransferFigures figures;
    figures.sent = sent;
    figures.total = total;
    if (elapsedMs > 0 && sent > 0) {
        const double rate = static_cast<double>(sent) * 1000.0 / static_cast<double>(elapsedMs);
        figures.bytesPerSecond = rate;
        const std::size_t left = total > sent ? total - sent : 0;
        figures.secondsLeft = static_cast<std::int64_t>(static_cast<double>(left) / rate);
    }
    return figures;
}

std::string RateText(const TransferFigures& figures) {
    if (!figures.bytesPerSecond) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f kB/s", *figures.bytesPerSecond / 1000.0);
    return text;
}

std::string TimeLeftText(const TransferFigures& figures) {
    return figures.secondsLeft ? MinutesSeconds(*figures.secondsLeft) : "-";
}

std::string MinutesSeconds(std::int64_t seconds) {
    if (seconds < 0) {
        seconds = 0;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

}  // namespace fwup
