#include "app/cli/cli_program.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "app/cli/all_printers.h"
#include "app/cli/cli_options.h"
#include "app/cli/console_front_end.h"
#include "app/cli/console_io.h"
#include "app/cli/exit_codes.h"
#include "app/cli/history_command.h"
#include "app/cli/interrupt_state.h"
#include "app/cli/json_line.h"
#include "app/cli/parallel_runs.h"
#include "app/cli/parent_link.h"
#include "app/cli/watch_command.h"
#include "app/common/program_services.h"
#include "app/common/program_wiring.h"
#include "base/shown_text.h"
#include "base/wide_text.h"
#include "device/printer_arrivals.h"
#include "device/printer_target.h"
#include "log/module_path.h"
#include "log/notice_output.h"
#include "log/tool_log.h"
#include "protocol/firmware_resource.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"
#include "text/lang_text.h"
#include "upgrade/printer_lock.h"
#include "upgrade/printer_selection.h"
#include "upgrade/run_record.h"
#include "upgrade/upgrade_procedure.h"
#include "upgrade/verify_upgrade.h"

#ifndef FWUP_VERSION
#define FWUP_VERSION "0"
#endif

namespace fwup::cli {
namespace {

// The result line: what scripts read. `fill` adds the command's own fields.
class Result {
  public:
    explicit Result(ConsoleReport& report) : report_(report) {}

    int End(int exitCode, const std::wstring& reason = {}) {
        line_ = JsonLine()
                    .Add("result", ResultName(exitCode))
                    .Add("exitCode", exitCode)
                    .Add("schema", kOutputSchema);
        if (!reason.empty()) {
            line_.Add("reason", std::wstring_view(reason));
        }
        return exitCode;
    }
    JsonLine& line() { return line_; }
    void Write() { report_.Json(line_.Text()); }

  private:
    ConsoleReport& report_;
    JsonLine line_;
};

std::wstring DiscoveryFailedReason(int code) {
    return L"printer discovery failed with " + std::to_wstring(code);
}

void AddPrinterFields(JsonLine& line, const DeviceEntry* printer) {
    if (printer == nullptr) {
        line.AddNull("port").AddNull("model").AddNull("instanceId");
        return;
    }
    line.Add("port", std::wstring_view(printer->PortName))
        .Add("model", std::wstring_view(printer->ModelName))
        .Add("instanceId", std::wstring_view(printer->InstanceId));
}

int ListCommand(ConsoleReport& report, Result& result) {
    DeviceList printers;
    const int found = GetSystemDeviceList(printers);
    for (const DeviceEntry& printer : printers) {
        report.Json(JsonLine()
                        .Add("event", "printer")
                        .Add("port", std::wstring_view(printer.PortName))
                        .Add("model", std::wstring_view(printer.ModelName))
                        .Add("instanceId", std::wstring_view(printer.InstanceId))
                        .Text());
        report.Text(ShownPort(printer.PortName) + L"  " + ShownText(printer.ModelName) + L"  " +
                    ShownText(printer.InstanceId));
    }
    int code = kExitSucceeded;
    if (found < 0) {
        code = result.End(kExitError, DiscoveryFailedReason(found));
    } else if (printers.empty()) {
        report.WindowText(TXT_NOT_CONNECTED);
        code = result.End(kExitNotConnected);
    } else {
        code = result.End(kExitSucceeded);
    }
    result.line().Add("printers", static_cast<int>(printers.size()));
    return code;
}

constexpr const wchar_t* kInUseReason = L"another upgrade run holds the printer";
constexpr const wchar_t* kReplacedReason = L"the printer on the port is no longer the one checked";

// The chosen printer, or the exit code that says why there is none.
std::optional<int> ChoosePrinter(ConsoleFrontEnd& frontEnd, Result& result) {
    const int found = RefreshPrinterList(frontEnd);
    if (frontEnd.SelectedPrinter() >= 0) {
        return std::nullopt;
    }
    if (frontEnd.ChoiceUnmatched()) {
        frontEnd.ShowMessage(TXT_NOT_CONNECTED);
        return result.End(kExitUsage, L"no attached printer matches the choice");
    }
    if (found < 0) {
        return result.End(kExitError, DiscoveryFailedReason(found));
    }
    frontEnd.ShowMessage(TXT_NOT_CONNECTED);
    const int code = result.End(kExitNotConnected);
    if (frontEnd.Subject() != nullptr) {
        AddPrinterFields(result.line(), frontEnd.Subject());
    }
    return code;
}

const char* SecurityName(int result) {
    switch (result) {
        case kSecurityCrcValid:
            return "valid";
        case kSecurityCrcInvalid:
            return "check-value-wrong";
        case kSecurityNoReply:
            return "no-record";
        default:
            return "not-read";
    }
}

RunRecord NewRunRecord(const CliOptions& options) {
    RunRecord record;
    StampRunRecord(record, "viruzu-fwup-cli",
                   options.command == Command::kCheck ? "check" : "upgrade");
    return record;
}

// The printer a run chose, as its record names it.
void RecordPrinter(RunRecord& record, const DeviceEntry& printer) {
    record.port = ToUtf8(printer.PortName);
    record.model = ToUtf8(printer.ModelName);
    record.instanceId = ToUtf8(printer.InstanceId);
}

int CheckCommand(ConsoleFrontEnd& frontEnd, ConsoleReport& report, Result& result,
                 RunRecord& record) {
    if (const std::optional<int> code = ChoosePrinter(frontEnd, result)) {
        return *code;
    }
    const DeviceEntry& printer = *frontEnd.Chosen();
    RecordPrinter(record, printer);
    std::unique_ptr<PrinterLock> lock;
    std::wstring refusal;
    if (!ClaimPrinter(printer, lock, &refusal)) {
        frontEnd.ShowMessage(TXT_PRINTER_IN_USE);
        result.End(kExitInUse, refusal);
        AddPrinterFields(result.line(), &printer);
        return kExitInUse;
    }
    // The three opens look the port name up again, each time; all must reach this printer.
    const PrinterTarget target = PrinterTarget::Pinned(printer);
    const int status = CheckPrinterStatus(target);
    const bool ready = IsReadyForUpgrade(status);
    std::string versionText;
    const int version = QueryFwVersion(target, &versionText);
    record.firmware = VersionVerdictName(version);
    if (VersionWasRead(version)) {
        record.versionText = ValidUtf8(versionText);
    }
    const int security = QuerySecurity(target);
    const bool encrypted = bFwEncrypted.load();
    const bool busy = IsPortOccupied(printer.PortName);

    report.Text(L"status " + std::to_wstring(status) + (ready ? L" (ready)" : L" (not ready)"));
    report.Text(L"firmware " + FromUtf8(VersionVerdictName(version)) + L" (" +
                std::to_wstring(version) + L")");
    report.Text(L"security record " + FromUtf8(SecurityName(security)) +
                (security == kSecurityCrcValid
                     ? (encrypted ? L", encrypted package" : L", plain package")
                     : L""));
    if (busy) {
        report.Text(L"a print queue on " + ShownText(printer.PortName) + L" holds jobs");
    }

    const bool replaced = target.Replaced();
    const int code = CheckExitCode({ready, version, security, replaced});
    result.End(code, replaced ? kReplacedReason : L"");
    AddPrinterFields(result.line(), &printer);
    result.line()
        .Add("status", status)
        .AddBool("ready", ready)
        .Add("firmware", VersionVerdictName(version))
        .Add("security", SecurityName(security));
    // Only a valid record decides the package an upgrade would send.
    if (security == kSecurityCrcValid) {
        result.line().Add("package", encrypted ? kPackageEncryptedId : kPackagePlainId);
    } else {
        result.line().AddNull("package");
    }
    result.line().AddBool("portBusy", busy);
    return code;
}

int UpgradeCommand(const CliOptions& options, ConsoleFrontEnd& frontEnd, ConsoleReport& report,
                   Result& result, InterruptState& interrupts, RunRecord& record) {
    const UpgradeOutcome outcome = RunUpgrade(frontEnd, &record);
    interrupts.transferEnded.store(true);
    UpgradeEnd end{.outcome = outcome,
                   .choiceUnmatched = frontEnd.ChoiceUnmatched(),
                   .discoveryFailed = LastPrinterListResult() < 0,
                   .printerReplaced = frontEnd.PrinterReplaced()};
    int code = UpgradeExitCode(end);
    std::wstring reason;
    if (code == kExitUsage) {
        reason = L"no attached printer matches the choice";
    } else if (code == kExitError && outcome == UpgradeOutcome::kNotConnected) {
        reason = DiscoveryFailedReason(LastPrinterListResult());
    }
    if (const std::optional<int> charge = frontEnd.LowBatteryPercent()) {
        reason = LowBatteryReason(*charge);
    }
    if (code == kExitPrinterLost && end.printerReplaced) {
        reason = kReplacedReason;
    }
    if (code == kExitInUse) {
        reason = frontEnd.LockRefusal().empty() ? kInUseReason : frontEnd.LockRefusal();
    }
    std::optional<VerifyOutcome> verified;
    if (code == kExitSucceeded && options.verify && frontEnd.Chosen() != nullptr) {
        std::wstring failure;
        if (interrupts.requested.load()) {
            failure = L"interrupted before the printer was verified";
        } else {
            report.Json(JsonLine().Add("event", "step").Add("step", "verify").Text());
            report.Text(L"Waiting for the printer to come back\u2026");
            verified = VerifyUpgrade(*frontEnd.Chosen(), frontEnd.HeldLock(),
                                     frontEnd.VersionVerdict(), options.verifyTimeoutSeconds,
                                     [&interrupts] { return interrupts.requested.load(); });
            if (verified->ambiguous) {
                failure = L"two attached printers have the flashed printer's instance ID";
            } else if (!verified->cameBack) {
                failure = verified->interrupted ? L"interrupted before the printer came back"
                                                : L"the printer did not come back in time";
            } else if (verified->versionVerdict != kVersionSame) {
                failure = L"the printer came back on another version";
            } else {
                report.Text(L"The printer runs the package's firmware version.");
            }
            if (!failure.empty()) {
                report.Text(L"Not verified: " + failure + L".");
            }
        }
        if (!failure.empty()) {
            end.verifyFailed = true;
            code = UpgradeExitCode(end);
            reason = failure;
        }
    }
    result.End(code, reason);
    JsonLine& line = result.line();
    AddPrinterFields(line, frontEnd.Subject());
    if (frontEnd.VersionVerdict()) {
        line.Add("firmware", VersionVerdictName(*frontEnd.VersionVerdict()));
    } else {
        line.AddNull("firmware");
    }
    // `package` names what the printer received; the choice alone (a transfer refused at its
    // first write) is `packageChosen`.
    const int chosen = bFwEncrypted.load() ? kPackageEncryptedId : kPackagePlainId;
    const std::int64_t sent = frontEnd.TransferBegun() ? frontEnd.BytesSent() : 0;
    if (sent > 0) {
        line.Add("package", chosen);
    } else {
        line.AddNull("package");
    }
    if (frontEnd.TransferBegun()) {
        line.Add("packageChosen", chosen);
    } else {
        line.AddNull("packageChosen");
    }
    line.Add("bytesSent", sent);
    if (verified) {
        if (verified->versionRead) {
            record.versionAfter = VersionVerdictName(verified->versionVerdict);
            line.Add("versionAfter", VersionVerdictName(verified->versionVerdict));
        } else {
            line.AddNull("versionAfter");
        }
    }
    return code;
}

// Every step of a run is in the log; a failed run sends the reader there. On Linux an installed
// program's log is not beside it, so the path is named as it stands.
void NameTheLog(ConsoleReport& report, JsonLine& line) {
    const std::wstring path = ToolLogPath();
    if (path.empty()) {
        line.AddNull("log");
        return;
    }
    report.Text(L"The log: " + path);
    line.Add("log", std::wstring_view(path));
}

// One whole run of the command on the printer the options choose (or `pinned`), its result line
// written.
PrinterOutcome RunCommand(const CliOptions& options, const DeviceEntry* pinned,
                          ConsoleReport& report, InterruptState& interrupts) {
    Result result(report);
    ConsoleFrontEnd frontEnd(options, report, interrupts, pinned);
    int code = kExitError;
    // Every upgrade and check is a run of the history, one line per printer; a list is none.
    RunRecord record = NewRunRecord(options);
    switch (options.command) {
        case Command::kList:
            code = ListCommand(report, result);
            break;
        case Command::kCheck:
            code = CheckCommand(frontEnd, report, result, record);
            break;
        default:
            code = UpgradeCommand(options, frontEnd, report, result, interrupts, record);
            break;
    }
    // An interrupt before anything was sent ends every command the same way.
    if (interrupts.requested.load() && !frontEnd.TransferBegun()) {
        code = result.End(kExitInterrupted);
        AddPrinterFields(result.line(), frontEnd.Subject());
    }
    if (options.command != Command::kList) {
        if (!record.instanceId && frontEnd.Subject() != nullptr) {
            RecordPrinter(record, *frontEnd.Subject());
        }
        RecordConsoleRun(record, code);
    }
    if (code != kExitSucceeded) {
        NameTheLog(report, result.line());
    }
    result.Write();
    // A pinned run speaks of the printer it was given, whatever answered on the bus.
    const DeviceEntry* ran = pinned != nullptr ? pinned : frontEnd.Chosen();
    return {ran != nullptr ? *ran : DeviceEntry{}, code};
}

// Each printer's run of --parallel and watch: this program again, started for that printer.
ChildStarter StartThisProgram() {
    return [](const std::vector<std::string>& args,
              std::string& error) -> std::unique_ptr<ChildProcess> {
        const std::optional<std::wstring> self = ModuleFilePath();
        if (!self) {
            error = "this program's own path is unknown";
            return nullptr;
        }
        return StartChildProcess(*self, args, error);
    };
}

void WriteOutView(std::string_view text) {
    WriteOut(text);
}

int AllPrintersCommand(const CliOptions& options, ConsoleReport& report, InterruptState& interrupts,
                       ProgressStyle style) {
    DeviceList printers;
    const int found = GetSystemDeviceList(printers);
    if (found < 0) {
        const std::wstring reason = DiscoveryFailedReason(found);
        report.Text(L"Summary: no printer run, " + reason);
        report.Json(SummaryLine(kExitError, {}, reason).Text());
        return kExitError;
    }
    if (options.parallel && !printers.empty()) {
        return RunAllInParallel(printers, options, style, WriteOutView, StartThisProgram(),
                                interrupts, ActiveClock());
    }
    return RunOnEveryPrinter(printers, report, interrupts, [&](const DeviceEntry& printer) {
        // Each printer's run starts as the program's only run would.
        interrupts.transferBegun.store(false);
        interrupts.transferEnded.store(false);
        report.RestartProgress();
        return RunCommand(options, &printer, report, interrupts);
    });
}

// The printer a run started by --parallel or watch is given.
DeviceEntry PinnedPrinter(const CliOptions& options) {
    return {.ModelName = FromUtf8(options.pinnedModel),
            .PortName = FromUtf8(options.pinnedPort),
            .InstanceId = FromUtf8(*options.pinnedInstanceId),
            .InterfacePath = FromUtf8(*options.pinnedInterfacePath)};
}

std::string VersionText() {
    return std::string("viruzu-fwup-cli ") + FWUP_VERSION +
           "\nfirmware package version: " + kPackageVersionMajorDigit + "." +
           kPackageVersionMinorDigit +
           " (the digits a printer's version text is compared with, as in V2.10.9)\n";
}

}  // namespace

int RunCli(std::span<const std::string> args) {
    PrepareConsole();
    CliOptions options;
    std::string error;
    if (!ParseCliOptions(args, options, error)) {
        WriteErr("viruzu-fwup-cli: " + error + "\n\n" + UsageText());
        // Whatever else was wrong, a script that asked for JSON gets its result line.
        if (std::find(args.begin(), args.end(), "--json") != args.end()) {
            WriteOut(JsonLine()
                         .Add("result", ResultName(kExitUsage))
                         .Add("exitCode", kExitUsage)
                         .Add("schema", kOutputSchema)
                         .Add("reason", std::string_view(error))
                         .Text());
        }
        return kExitUsage;
    }
    if (options.command == Command::kHelp) {
        WriteOut(UsageText());
        return kExitSucceeded;
    }
    if (options.command == Command::kVersion) {
        WriteOut(VersionText());
        return kExitSucceeded;
    }
    if (options.command == Command::kHistory) {
        return HistoryCommand(options);
    }

    InterruptState& interrupts = TheInterruptState();
    InstallInterruptHandlers();
    if (options.pinnedInstanceId) {
        // A run started by --parallel or watch: the parent stops it through standard input, and
        // as several runs write one Tool.log at once, each of this run's lines names its printer.
        FollowParentInterrupts();
        SetToolLogSubject(FromUtf8(PrinterLabel(PinnedPrinter(options))));
    }
    InterruptibleClock clock(interrupts);
    const ProgramWiring wiring = WireProgram({.clock = &clock, .notices = ConsoleNoticeOutput()});
    const InstalledServices installed(wiring.services);
    SelectUiLanguage();

    const ProgressStyle style = options.json         ? ProgressStyle::kJson
                                : StdoutIsTerminal() ? ProgressStyle::kTerminal
                                                     : ProgressStyle::kTenths;
    // Several printers' lines are redrawn together only where the cursor can move up.
    const ProgressStyle severalStyle = style == ProgressStyle::kTerminal && !TerminalTakesEscapes()
                                           ? ProgressStyle::kTenths
                                           : style;
    ConsoleReport report(options.json, style);
    Result result(report);
    int code = kExitError;

    if (wiring.services.simulatedScenario) {
        // Never let a simulated success pass for a flashed printer.
        const std::wstring& file = *wiring.services.simulatedScenario;
        report.Json(
            JsonLine().Add("event", "simulated").Add("scenario", std::wstring_view(file)).Text());
        if (!options.json) {
            WriteErr(ToUtf8(L"Simulated printers from " + ShownText(file)) + "\n");
        }
    }
    if (!wiring.interfaceSource) {
        if (!options.json) {
            // The error may quote the scenario file.
            WriteErr("viruzu-fwup-cli: " + ShownUtf8(wiring.error) + "\n");
        }
        code = result.End(kExitError, FromUtf8(wiring.error));
        if (options.command != Command::kList) {
            RunRecord record = NewRunRecord(options);
            RecordConsoleRun(record, code);
        }
        if (options.all || options.command == Command::kWatch) {
            // --all and watch end with their summary, whatever ended them.
            report.Json(SummaryLine(code, {}, FromUtf8(wiring.error)).Text());
        } else {
            NameTheLog(report, result.line());
            result.Write();
        }
    } else if (options.command == Command::kWatch) {
        const std::unique_ptr<ArrivalWatch> arrivals = wiring.interfaceSource->WatchArrivals();
        code = WatchCommand(options, severalStyle, WriteOutView, StartThisProgram(),
                            {.listPrinters = GetSystemDeviceList, .arrivals = arrivals.get()},
                            interrupts, ActiveClock());
    } else if (options.all) {
        code = AllPrintersCommand(options, report, interrupts, severalStyle);
    } else if (options.pinnedInstanceId) {
        const DeviceEntry pinned = PinnedPrinter(options);
        code = RunCommand(options, &pinned, report, interrupts).exitCode;
    } else {
        code = RunCommand(options, nullptr, report, interrupts).exitCode;
    }
    interrupts.finished.store(true);
    return code;
}

}  // namespace fwup::cli
