#include "app/cli/console_front_end.h"

#include <cctype>

#include "app/cli/all_printers.h"
#include "app/cli/console_io.h"
#include "app/cli/json_line.h"
#include "base/clock.h"
#include "base/shown_text.h"
#include "base/wide_text.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"
#include "text/lang_text.h"
#include "text/yes_answer.h"
#include "upgrade/run_record.h"
#include "upgrade/run_status.h"

namespace fwup::cli {
namespace {

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && StartsWithIgnoringAsciiCase(a, b);
}

const char* StepName(UpgradeStep step) {
    switch (step) {
        case UpgradeStep::kCheckPrinter:
            return "check-printer";
        case UpgradeStep::kCheckVersion:
            return "check-version";
        case UpgradeStep::kCheckSecurity:
            return "check-security";
        case UpgradeStep::kTransfer:
            return "transfer";
        case UpgradeStep::kFlashWait:
            return "flash-wait";
    }
    return "";
}

}  // namespace

std::wstring ConsoleText(int textId) {
    std::wstring text = GetLangText(textId);
    std::wstring out;
    for (const wchar_t c : text) {
        if (c != L'\r') {
            out += c;
        }
    }
    return out;
}

void ConsoleReport::EndProgressLine() {
    const std::string end = progress_.Finish();
    if (!end.empty()) {
        WriteOut(end);
    }
}

void ConsoleReport::Text(const std::wstring& line) {
    if (json_) {
        return;
    }
    EndProgressLine();
    WriteOut(ToUtf8(line) + "\n");
}

void ConsoleReport::Json(const std::string& line) {
    if (json_) {
        WriteOut(line);
    }
}

void ConsoleReport::WindowText(int textId) {
    if (json_) {
        WriteOut(JsonLine()
                     .Add("event", "message")
                     .Add("textId", textId)
                     .Add("text", std::wstring_view(ConsoleText(textId)))
                     .Text());
    } else {
        Text(ConsoleText(textId));
    }
}

void ConsoleReport::Progress(std::size_t sent, std::size_t total) {
    if (std::optional<std::string> text =
            progress_.Report(sent, total, ActiveClock().MonotonicMs())) {
        WriteOut(*text);
    }
}

bool MatchesChoice(const CliOptions& options, const DeviceEntry& entry) {
    if (options.port) {
        return EqualsIgnoringAsciiCase(entry.PortName, FromUtf8(*options.port));
    }
    if (options.serial) {
        const std::wstring wanted = FromUtf8(*options.serial);
        return EqualsIgnoringAsciiCase(SerialOf(entry.InstanceId), wanted) ||
               EqualsIgnoringAsciiCase(entry.InstanceId, wanted);
    }
    return true;
}

std::wstring ShownPort(const std::wstring& portName) {
    return portName.empty() ? std::wstring(L"(no port)") : ShownText(portName);
}

const char* VersionVerdictName(int verdict) {
    return VersionVerdictWord(verdict);
}

void ConsoleFrontEnd::AddPrinter(int, const DeviceEntry& entry) {
    printers_.push_back(entry);
}

int ConsoleFrontEnd::SelectedPrinter() {
    chosen_.reset();
    choiceUnmatched_ = false;
    if (pinned_ != nullptr) {
        // Gone by its turn: not connected, as any printer that is not there.
        if (const std::optional<std::size_t> found = FindPinnedPrinter(printers_, *pinned_)) {
            chosen_ = static_cast<int>(*found);
            AnnouncePrinter(printers_[*found]);
        }
        return chosen_.value_or(-1);
    }
    for (std::size_t i = 0; i < printers_.size(); ++i) {
        if (MatchesChoice(options_, printers_[i])) {
            chosen_ = static_cast<int>(i);
            AnnouncePrinter(printers_[i]);
            if (!options_.port && !options_.serial && printers_.size() > 1) {
                NoteFirstOfSeveral(printers_[i]);
            }
            return *chosen_;
        }
    }
    choiceUnmatched_ = !printers_.empty();
    return -1;
}

void ConsoleFrontEnd::NoteFirstOfSeveral(const DeviceEntry& entry) {
    if (firstOfSeveralNoted_) {
        return;
    }
    firstOfSeveralNoted_ = true;
    // On standard error in either mode: a script reading the result line sees what it saw before.
    WriteErr(ToUtf8(L"viruzu-fwup-cli: " + std::to_wstring(printers_.size()) +
                    L" supported printers attached; took the first, " + ShownText(entry.ModelName) +
                    L" on " + ShownPort(entry.PortName) + L" (" + ShownText(entry.InstanceId) +
                    L"). Choose another with --port or --serial, or every one with --all.") +
             "\n");
}

const DeviceEntry* ConsoleFrontEnd::Chosen() const {
    return chosen_ ? &printers_[static_cast<std::size_t>(*chosen_)] : nullptr;
}

std::wstring ConsoleFrontEnd::AttachedList() const {
    std::wstring list;
    for (const DeviceEntry& printer : printers_) {
        list += L"\n  " + ShownPort(printer.PortName) + L"  " + ShownText(printer.ModelName) +
                L"  " + ShownText(printer.InstanceId);
    }
    return list;
}

void ConsoleFrontEnd::AnnouncePrinter(const DeviceEntry& entry) {
    report_.Json(JsonLine()
                     .Add("event", "printer")
                     .Add("port", std::wstring_view(entry.PortName))
                     .Add("model", std::wstring_view(entry.ModelName))
                     .Add("instanceId", std::wstring_view(entry.InstanceId))
                     .Text());
    report_.Text(ShownText(entry.ModelName) + L" on " + ShownText(entry.PortName) + L" (" +
                 ShownText(entry.InstanceId) + L")");
}

void ConsoleFrontEnd::ShowStatus(int code, int) {
    interrupts_.transferEnded.store(true);
    // An interrupt after the last write of the transfer is still owed its note.
    NoteInterruptDuringTransfer();
    switch (code) {
        case STATUS_SUCCEEDED:
            report_.WindowText(TXT_SUCCEEDED);
            report_.WindowText(TXT_KEEP_POWER_ON);
            report_.WindowText(TXT_NEW_DRIVER);
            break;
        case STATUS_FAILED:
            report_.WindowText(TXT_FAILED);
            report_.WindowText(TXT_RETRY_OR_CONTACT);
            break;
        case STATUS_NOT_READY:
            report_.WindowText(TXT_NOT_READY);
            break;
        default:
            break;
    }
}

void ConsoleFrontEnd::ShowMessage(int textId) {
    if (textId == TXT_NOT_CONNECTED && choiceUnmatched_) {
        // Not the window's text: the printers are there, the choice named none of them.
        const std::wstring choice = options_.port ? L"--port " + FromUtf8(*options_.port)
                                                  : L"--serial " + FromUtf8(*options_.serial);
        const std::wstring line =
            L"No supported printer attached matches " + choice + L". Attached:" + AttachedList();
        report_.Json(JsonLine().Add("event", "error").Add("text", std::wstring_view(line)).Text());
        if (!report_.json()) {
            WriteErr(ToUtf8(line) + "\n");
        }
        return;
    }
    report_.WindowText(textId);
}

bool ConsoleFrontEnd::AskYesNo(int textId) {
    const std::wstring question = ConsoleText(textId);
    bool yes = false;
    const char* how = "no-terminal";
    if (options_.yes) {
        yes = true;
        how = "--yes";
    } else if (StdinIsTerminal() && !interrupts_.requested.load()) {
        how = "terminal";
        // On standard error when standard output carries JSON lines.
        const std::string prompt =
            ToUtf8(question + L" [" + GetLangText(TXT_YES) + L"/" + GetLangText(TXT_NO) + L"] ");
        report_.json() ? WriteErr(prompt) : WriteOut(prompt);
        std::string answer;
        yes = ReadTerminalLine(answer) && !interrupts_.requested.load() &&
              IsYesAnswer(answer, UiLangId.load());
    }
    report_.Json(JsonLine()
                     .Add("event", "question")
                     .Add("textId", textId)
                     .Add("text", std::wstring_view(question))
                     .Add("answer", yes ? "yes" : "no")
                     .Add("answeredBy", how)
                     .Text());
    if (!report_.json() && how != std::string_view("terminal")) {
        report_.Text(question + L" " + GetLangText(yes ? TXT_YES : TXT_NO));
    }
    return yes;
}

void ConsoleFrontEnd::OnStep(UpgradeStep step) {
    if (step == UpgradeStep::kTransfer) {
        // From here on an interrupt no longer stops anything; set before anything is sent.
        transferBegun_ = true;
        interrupts_.transferBegun.store(true);
    }
    if (step == UpgradeStep::kFlashWait) {
        interrupts_.transferEnded.store(true);
        NoteInterruptDuringTransfer();
    }
    report_.Json(JsonLine().Add("event", "step").Add("step", StepName(step)).Text());
}

void ConsoleFrontEnd::OnTransferProgress(std::size_t sent, std::size_t length) {
    bytesSent_ = sent;
    if (!transmittingShown_) {
        transmittingShown_ = true;
        report_.WindowText(TXT_TRANSMITTING);
    }
    report_.Progress(sent, length);
    if (interrupts_.requested.load()) {
        NoteInterruptDuringTransfer();
    }
}

void ConsoleFrontEnd::NoteInterruptDuringTransfer() {
    if (interruptNoted_ || !interrupts_.requested.load() || !transferBegun_) {
        return;
    }
    interruptNoted_ = true;
    const int percent = report_.progress().LastPercent();
    report_.Json(JsonLine()
                     .Add("event", "interrupt")
                     .Add("percent", percent)
                     .Add("sent", static_cast<std::int64_t>(bytesSent_))
                     .Text());
    report_.Text(L"Interrupted during the transfer at " + std::to_wstring(percent) +
                 L" % sent: the transfer goes on to its end, as a half-written printer is worse "
                 L"than a failed upgrade; the program ends then.");
}

}  // namespace fwup::cli
