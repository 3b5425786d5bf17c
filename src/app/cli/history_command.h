#pragma once

#include "app/cli/cli_options.h"
#include "upgrade/run_record.h"

namespace fwup::cli {

// `history`: the run history, oldest first, as a table on a terminal, tab-separated lines
// otherwise, or with --json one "record" line each and the result line. Lines skipped as damaged
// are named on standard error. Always 0: an absent history is said, not failed.
int HistoryCommand(const CliOptions& options);

// Ends `record` with the console program's `exitCode` and adds it to the run history.
void RecordConsoleRun(RunRecord& record, int exitCode);

}  // namespace fwup::cli
