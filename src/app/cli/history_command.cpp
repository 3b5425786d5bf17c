#include "app/cli/history_command.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/cli/console_io.h"
#include "app/cli/exit_codes.h"
#include "app/cli/json_line.h"
#include "base/shown_text.h"
#include "base/wide_text.h"
#include "upgrade/run_history.h"

namespace fwup::cli {
namespace {

constexpr std::size_t kColumns = 10;
using Row = std::array<std::string, kColumns>;

const Row kHeader = {"TIME",    "COMPUTER", "COMMAND", "PORT",   "MODEL",
                     "VERSION", "VERDICT",  "SENT",    "RESULT", "AFTER"};

std::string OrDash(const std::optional<std::string>& text) {
    return text && !text->empty() ? *text : "-";
}

// Every cell may hold what a printer sent: a tab or line end would break the row, a control
// character or a bidi control would act on the terminal.
std::string OneCell(const std::string& text) {
    return ShownUtf8(text);
}

Row RowOf(const RunRecord& record) {
    return {record.time,
            record.computer,
            record.command,
            OrDash(record.port),
            OrDash(record.model),
            OrDash(record.versionText),
            OrDash(record.firmware),
            std::to_string(record.bytesSent),
            record.result,
            OrDash(record.versionAfter)};
}

// Characters as a terminal counts them, near enough: every UTF-8 lead byte is one.
std::size_t Width(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Rows(const std::vector<Row>& rows, bool aligned) {
    std::array<std::size_t, kColumns> widths{};
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < kColumns; ++i) {
            widths[i] = std::max(widths[i], Width(OneCell(row[i])));
        }
    }
    std::string text;
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < kColumns; ++i) {
            const std::string cell = OneCell(row[i]);
            text += cell;
            if (i + 1 == kColumns) {
                break;
            }
            text += aligned ? std::string(widths[i] - Width(cell) + 2, ' ') : "\t";
        }
        text += "\n";
    }
    return text;
}

}  // namespace

int HistoryCommand(const CliOptions& options) {
    const std::wstring path = RunHistoryPath();
    const HistoryReading reading = ReadRunHistory(path);
    for (const std::string& note : reading.notes) {
        WriteErr("viruzu-fwup-cli: " + note + "\n");
    }
    std::string absent;
    if (path.empty()) {
        absent = "there is no place for a history on this computer";
    } else if (!reading.found) {
        absent = "no history yet: " + ToUtf8(path) + " does not exist";
    }
    if (options.json) {
        // Nested, so that no member of the record is taken for one of the result line.
        for (const RunRecord& record : reading.records) {
            std::string line = RunRecordLine(record);
            line.pop_back();
            WriteOut(LineSafeJson("{\"event\": \"record\", \"record\": " + line + "}") + "\n");
        }
        if (!absent.empty()) {
            WriteErr("viruzu-fwup-cli: " + absent + "\n");
        }
        JsonLine result;
        result.Add("result", ResultName(kExitSucceeded))
            .Add("exitCode", kExitSucceeded)
            .Add("schema", kOutputSchema);
        if (path.empty()) {
            result.AddNull("history");
        } else {
            result.Add("history", std::wstring_view(path));
        }
        result.Add("records", static_cast<std::int64_t>(reading.records.size()))
            .Add("skipped", static_cast<std::int64_t>(reading.notes.size()));
        WriteOut(result.Text());
        return kExitSucceeded;
    }
    if (!absent.empty()) {
        WriteOut(absent + "\n");
        return kExitSucceeded;
    }
    std::vector<Row> rows{kHeader};
    for (const RunRecord& record : reading.records) {
        rows.push_back(RowOf(record));
    }
    WriteOut(Rows(rows, StdoutIsTerminal()));
    return kExitSucceeded;
}

void RecordConsoleRun(RunRecord& record, int exitCode) {
    record.result = ResultName(exitCode);
    RecordRun(record);
}

}  // namespace fwup::cli
