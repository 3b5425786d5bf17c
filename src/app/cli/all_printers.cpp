#include "app/cli/all_printers.h"

#include <algorithm>

#include "app/cli/console_front_end.h"
#include "app/cli/exit_codes.h"
#include "app/cli/interrupt_state.h"
#include "base/shown_text.h"
#include "base/wide_text.h"
#include "text/lang_text.h"

namespace fwup::cli {

JsonLine SummaryLine(int exitCode, std::span<const PrinterOutcome> outcomes,
                     const std::wstring& reason) {
    std::vector<JsonLine> entries;
    for (const PrinterOutcome& outcome : outcomes) {
        entries.push_back(JsonLine()
                              .Add("port", std::wstring_view(outcome.printer.PortName))
                              .Add("model", std::wstring_view(outcome.printer.ModelName))
                              .Add("instanceId", std::wstring_view(outcome.printer.InstanceId))
                              .Add("exitCode", outcome.exitCode)
                              .Add("result", ResultName(outcome.exitCode)));
    }
    JsonLine line;
    line.Add("result", "summary").Add("exitCode", exitCode).AddObjects("printers", entries);
    if (!reason.empty()) {
        line.Add("reason", std::wstring_view(reason));
    }
    return line;
}

std::wstring SummaryText(int exitCode, std::span<const PrinterOutcome> outcomes) {
    std::wstring text = L"Summary: " + std::to_wstring(outcomes.size()) +
                        (outcomes.size() == 1 ? L" printer" : L" printers") + L", exit code " +
                        std::to_wstring(exitCode) + L" (" + FromUtf8(ResultName(exitCode)) + L")";
    for (const PrinterOutcome& outcome : outcomes) {
        const DeviceEntry& printer = outcome.printer;
        text += L"\n  " + ShownPort(printer.PortName) + L"  " + ShownText(printer.InstanceId) +
                L"  " + FromUtf8(ResultName(outcome.exitCode)) + L" (" +
                std::to_wstring(outcome.exitCode) + L")";
    }
    return text;
}

int RunOnEveryPrinter(const DeviceList& printers, ConsoleReport& report,
                      const InterruptState& interrupts,
                      const std::function<PrinterOutcome(const DeviceEntry&)>& runOne) {
    if (printers.empty()) {
        report.WindowText(TXT_NOT_CONNECTED);
    }
    std::vector<PrinterOutcome> outcomes;
    for (const DeviceEntry& printer : printers) {
        // A printer listed twice is one printer: it gets one run, and one line in the summary.
        if (std::any_of(outcomes.begin(), outcomes.end(),
                        [&](const PrinterOutcome& o) { return SamePrinter(o.printer, printer); })) {
            continue;
        }
        if (interrupts.requested.load()) {
            // Not begun: nothing was sent to it, as for a run interrupted before its transfer.
            outcomes.push_back({printer, kExitInterrupted});
            continue;
        }
        if (!outcomes.empty()) {
            report.Text(L"");
        }
        outcomes.push_back(runOne(printer));
    }
    std::vector<int> codes;
    for (const PrinterOutcome& outcome : outcomes) {
        codes.push_back(outcome.exitCode);
    }
    const int code = AllPrintersExitCode(codes);
    if (!outcomes.empty()) {
        report.Text(L"");
    }
    report.Text(SummaryText(code, outcomes));
    report.Json(SummaryLine(code, outcomes).Text());
    return code;
}

}  // namespace fwup::cli
