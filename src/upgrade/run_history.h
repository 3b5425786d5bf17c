#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "upgrade/run_record.h"

namespace fwup {

// The history file is rotated before it would grow beyond this: the current file and one older
// one ("<file>.1") are all that is kept.
inline constexpr std::uintmax_t kHistoryRotateBytes = 1024 * 1024;

// A history line longer than this is damaged: no record comes near it.
inline constexpr std::size_t kMaxHistoryLineBytes = 16 * 1024;

// Names the history's folder of test runs; honoured only while the printers are simulated, so a
// real printer's record is always where the README says.
inline constexpr const wchar_t* kHistoryPlaceVariable = L"VIRUZU_FWUP_HISTORY_DIR";

// The history file of this process: "history.jsonl" in the folder kHistoryPlaceVariable names
// while the printers are simulated, else beside the executable (the tool log's executable seam)
// or where HostHistoryPath moves it. Empty when there is nowhere to keep it.
std::wstring RunHistoryPath();

// Appends `record` to the history at `path`, rotating first when the line would take the file
// beyond kHistoryRotateBytes. A record that cannot be written never fails the run it describes:
// it costs one tool log line, and false. Never throws.
bool AppendRunRecord(const std::wstring& path, const RunRecord& record) noexcept;

// The same at RunHistoryPath().
bool RecordRun(const RunRecord& record) noexcept;

struct HistoryReading {
    std::vector<RunRecord> records;  // oldest first
    std::vector<std::string> notes;  // one for every line skipped, naming file and line
    bool found = false;              // the file or its older part exists
};

// The records of the history at `path`: "<path>.1" first, then `path`. A line that is not one
// whole record (cut, too long, not a record) is skipped with a note.
HistoryReading ReadRunHistory(const std::wstring& path);

}  // namespace fwup
