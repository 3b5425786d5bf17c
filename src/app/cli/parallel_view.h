#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/progress_display.h"
#include "device/discovery.h"

namespace fwup::cli {

// What several printers' runs at once say, as one output: each child's JSON lines passed on whole
// with the printer they speak of (--json); or, for a person, one line per milestone naming the
// printer; or, on a terminal, one redrawn line per running printer with each milestone and result
// written above them.
class ParallelView {
  public:
    using Writer = std::function<void(std::string_view)>;
    ParallelView(ProgressStyle style, Writer out) : style_(style), out_(std::move(out)) {}

    // A printer whose run may start; its number is the run's.
    std::size_t Add(const DeviceEntry& printer);
    const DeviceEntry& Printer(std::size_t run) const { return runs_[run].printer; }
    void Started(std::size_t run);
    // A whole line the run's child wrote, at monotonic time `nowMs`.
    void Line(std::size_t run, std::string_view line, std::int64_t nowMs);
    // The run has ended with `exitCode`: its result is written. A child that wrote no result
    // line of its own (it crashed, or was never started) gets one saying `reason`.
    void Ended(std::size_t run, int exitCode, const std::wstring& reason);
    // A note of the command's own about a printer (watch: it arrived, it left), with its event
    // word for --json.
    void Note(const DeviceEntry& printer, const char* event, const std::wstring& text);
    // Redraws the running printers' lines when due (terminal only).
    void Redraw(std::int64_t nowMs);
    // Takes the running printers' lines off the terminal before the summary.
    void Finish();

    // What the run's result line said.
    bool SentBytes(std::size_t run) const { return runs_[run].bytesSent > 0; }
    const std::string& Firmware(std::size_t run) const { return runs_[run].firmware; }

  private:
    struct Run {
        DeviceEntry printer;
        std::string label;  // port and serial, made safe to show
        bool running = false;
        std::string step = {};
        std::size_t sent = 0;
        std::size_t total = 0;
        std::optional<std::int64_t> firstProgressMs = {};
        std::int64_t lastProgressMs = 0;
        int lastTenth = -1;
        bool resultSeen = false;
        std::string reason = {};
        std::string log = {};
        std::string firmware = {};
        std::int64_t bytesSent = 0;
    };
    void Say(const Run& run, const std::string& text);
    void Above(const std::string& lines);
    std::string BlockLine(const Run& run, std::int64_t nowMs) const;
    void JsonLineOf(Run& run, std::string_view line);
    void TextOf(Run& run, std::string_view line, std::int64_t nowMs);

    ProgressStyle style_;
    Writer out_;
    std::vector<Run> runs_;
    std::size_t blockLines_ = 0;
    std::optional<std::int64_t> lastDrawMs_;
    bool dirty_ = false;
};

// "USB001 SER0001": the port and the serial of a printer, made safe to show.
std::string PrinterLabel(const DeviceEntry& printer);

}  // namespace fwup::cli
