#include "app/cli/parallel_view.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "app/cli/console_front_end.h"
#include "app/cli/exit_codes.h"
#include "app/cli/json_line.h"
#include "base/shown_text.h"
#include "base/wide_text.h"
#include "upgrade/printer_selection.h"
#include "upgrade/transfer_figures.h"

namespace fwup::cli {
namespace {

// The running printers' lines redraw at most this often: faster than that nobody reads them.
constexpr std::int64_t kRedrawMs = 200;
// A printer's line fits an 80-column terminal, so it never wraps and the block can be redrawn.
constexpr std::size_t kLabelWidth = 24;

std::string StepWords(const std::string& step) {
    if (step == "check-printer") {
        return "checking the printer";
    }
    if (step == "check-version") {
        return "reading the firmware version";
    }
    if (step == "check-security") {
        return "reading the security record";
    }
    if (step == "transfer") {
        return "sending the firmware";
    }
    if (step == "flash-wait") {
        return "the printer takes the firmware";
    }
    if (step == "verify") {
        return "waiting for the printer to come back";
    }
    return ShownUtf8(step);
}

// A window text is several lines; a milestone is one.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() != ' ') {
                line.push_back(' ');
            }
        } else if (c != '\r') {
            line.push_back(c);
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return ShownUtf8(line);
}

std::string StringOf(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

std::int64_t NumberOf(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_number_integer() ? found->get<std::int64_t>() : 0;
}

std::string Fitted(std::string text, std::size_t width) {
    // Cut on a character boundary; the text is shown-safe UTF-8.
    if (text.size() > width) {
        std::size_t cut = width - 1;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        text = text.substr(0, cut) + "~";
    }
    text.append(width > text.size() ? width - text.size() : 0, ' ');
    return text;
}

}  // namespace

std::string PrinterLabel(const DeviceEntry& printer) {
    return ToUtf8(ShownPort(printer.PortName) + L" " + ShownText(SerialOf(printer.InstanceId)));
}

std::size_t ParallelView::Add(const DeviceEntry& printer) {
    runs_.push_back({.printer = printer, .label = PrinterLabel(printer)});
    return runs_.size() - 1;
}

void ParallelView::Started(std::size_t run) {
    runs_[run].running = true;
    runs_[run].step = "starting";
    dirty_ = true;
}

void ParallelView::Say(const Run& run, const std::string& text) {
    Above(run.label + ": " + text + "\n");
}

void ParallelView::Above(const std::string& lines) {
    if (style_ != ProgressStyle::kTerminal || blockLines_ == 0) {
        out_(lines);
        return;
    }
    // Up to the block's first line, clear it and all below, write, and draw the block again.
    out_("\x1b[" + std::to_string(blockLines_) + "F\x1b[J" + lines);
    blockLines_ = 0;
    dirty_ = true;
}

void ParallelView::Line(std::size_t run, std::string_view line, std::int64_t nowMs) {
    Run& viewed = runs_[run];
    if (style_ == ProgressStyle::kJson) {
        JsonLineOf(viewed, line);
    } else {
        TextOf(viewed, line, nowMs);
    }
}

void ParallelView::JsonLineOf(Run& run, std::string_view line) {
    const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
    if (object.is_discarded() || !object.is_object() || line.empty() || line.front() != '{') {
        return;  // not a line of ours
    }
    if (StringOf(object, "event") == "simulated") {
        return;  // said once, by us
    }
    if (object.contains("result")) {
        run.resultSeen = true;
        run.firmware = StringOf(object, "firmware");
        run.bytesSent = NumberOf(object, "bytesSent");
    }
    std::string whole(line);
    if (!object.contains("port")) {
        // In the children's own style, so that every line reads alike.
        const std::string tag = "\"port\": " + JsonString(ToUtf8(run.printer.PortName)) +
                                ", \"instanceId\": " + JsonString(ToUtf8(run.printer.InstanceId)) +
                                (object.empty() ? "" : ", ");
        whole.insert(1, tag);
    }
    out_(whole + "\n");
}

void ParallelView::TextOf(Run& run, std::string_view line, std::int64_t nowMs) {
    const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
    if (object.is_discarded() || !object.is_object()) {
        return;
    }
    const std::string event = StringOf(object, "event");
    if (object.contains("result")) {
        run.resultSeen = true;
        run.reason = StringOf(object, "reason");
        run.log = StringOf(object, "log");
        run.firmware = StringOf(object, "firmware");
        run.bytesSent = NumberOf(object, "bytesSent");
    } else if (event == "step") {
        run.step = StringOf(object, "step");
        dirty_ = true;
        if (style_ != ProgressStyle::kTerminal) {
            Say(run, StepWords(run.step));
        }
    } else if (event == "progress") {
        run.sent = static_cast<std::size_t>(std::max<std::int64_t>(0, NumberOf(object, "sent")));
        run.total = static_cast<std::size_t>(std::max<std::int64_t>(0, NumberOf(object, "total")));
        if (!run.firstProgressMs) {
            run.firstProgressMs = nowMs;
        }
        run.lastProgressMs = nowMs;
        dirty_ = true;
        const int tenth = PercentOf(run.sent, run.total) / 10;
        if (style_ != ProgressStyle::kTerminal && tenth != run.lastTenth) {
            run.lastTenth = tenth;
            Say(run, std::to_string(tenth * 10) + " % (" + std::to_string(run.sent) + " / " +
                         std::to_string(run.total) + " bytes)");
        }
    } else if (event == "message" || event == "error") {
        Say(run, OneLine(StringOf(object, "text")));
    } else if (event == "question") {
        Say(run, OneLine(StringOf(object, "text")) + ": " + ShownUtf8(StringOf(object, "answer")) +
                     " (answered by " + ShownUtf8(StringOf(object, "answeredBy")) + ")");
    } else if (event == "interrupt") {
        Say(run, "interrupted during the transfer at " +
                     std::to_string(NumberOf(object, "percent")) +
                     " % sent: the transfer goes on to its end");
    }
}

void ParallelView::Ended(std::size_t run, int exitCode, const std::wstring& reason) {
    Run& ended = runs_[run];
    ended.running = false;
    dirty_ = true;
    if (!ended.resultSeen) {
        ended.reason = ToUtf8(reason);
        if (style_ == ProgressStyle::kJson) {
            JsonLine line;
            line.Add("result", ResultName(exitCode))
                .Add("exitCode", exitCode)
                .Add("schema", kOutputSchema)
                .Add("reason", std::wstring_view(reason))
                .Add("port", std::wstring_view(ended.printer.PortName))
                .Add("model", std::wstring_view(ended.printer.ModelName))
                .Add("instanceId", std::wstring_view(ended.printer.InstanceId));
            out_(line.Text());
            return;
        }
    }
    if (style_ == ProgressStyle::kJson) {
        return;
    }
    std::string text = std::string(ResultName(exitCode)) + " (" + std::to_string(exitCode) + ")";
    if (exitCode == kExitDeclined && ended.firmware == "same") {
        text += ": current, it runs the package's version; nothing was sent";
    } else if (!ended.reason.empty()) {
        text += ": " + OneLine(ended.reason);
    }
    if (!ended.log.empty() && exitCode != kExitSucceeded && exitCode != kExitDeclined) {
        text += "; the log: " + ShownUtf8(ended.log);
    }
    Say(ended, text);
}

void ParallelView::Note(const DeviceEntry& printer, const char* event, const std::wstring& text) {
    if (style_ == ProgressStyle::kJson) {
        out_(JsonLine()
                 .Add("event", event)
                 .Add("port", std::wstring_view(printer.PortName))
                 .Add("model", std::wstring_view(printer.ModelName))
                 .Add("instanceId", std::wstring_view(printer.InstanceId))
                 .Text());
        return;
    }
    Above(PrinterLabel(printer) + ": " + ToUtf8(text) + "\n");
}

std::string ParallelView::BlockLine(const Run& run, std::int64_t nowMs) const {
    std::string line = Fitted(run.label, kLabelWidth) + " ";
    if (run.step != "transfer" || run.total == 0) {
        return line + Fitted(StepWords(run.step), 80 - kLabelWidth - 2);
    }
    const TransferFigures figures =
        MeasureTransfer(run.sent, run.total, nowMs - run.firstProgressMs.value_or(nowMs));
    line += "sending " + std::to_string(PercentOf(run.sent, run.total)) + " %  " +
            RateText(figures) + "  " + TimeLeftText(figures) + " left";
    return Fitted(line, 79);
}

void ParallelView::Redraw(std::int64_t nowMs) {
    if (style_ != ProgressStyle::kTerminal || !dirty_ ||
        (lastDrawMs_ && nowMs - *lastDrawMs_ < kRedrawMs && blockLines_ != 0)) {
        return;
    }
    std::string block = blockLines_ > 0 ? "\x1b[" + std::to_string(blockLines_) + "F\x1b[J" : "";
    std::size_t lines = 0;
    for (const Run& run : runs_) {
        if (run.running) {
            block += BlockLine(run, nowMs) + "\n";
            ++lines;
        }
    }
    out_(block);
    blockLines_ = lines;
    lastDrawMs_ = nowMs;
    dirty_ = false;
}

void ParallelView::Finish() {
    if (style_ == ProgressStyle::kTerminal && blockLines_ > 0) {
        out_("\x1b[" + std::to_string(blockLines_) + "F\x1b[J");
        blockLines_ = 0;
    }
}

}  // namespace fwup::cli
