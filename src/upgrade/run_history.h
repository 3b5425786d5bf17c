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

// Names the history's folder of test runs; honoured only for simulated printers, so a real
// printer's record is always where the README says.
inline constexpr const wchar_t* kHistoryPlaceVariable = L"VIRUZU_FWUP_HISTORY_DIR";

// The history file of the runs of real printers: "history.jsonl" beside the executable (the tool
// log's executable seam) or where HostHistoryPath moves it. Simulated printers' runs have their
// own: "history.jsonl" in the folder kHistoryPlaceVariable names, else
// "history-simulated.jsonl" where the real one would be. Empty when there is nowhere to keep it.
std::wstring RunHistoryPath(bool simulated);

// The history this process reads and writes: the simulated printers' while they are simulated
// (PrintersAreSimulated).
std::wstring RunHistoryPath();

// Appends `record` to the history at `path`, rotating first when the line would take the file
// beyond `rotateBytes`. Writers in other processes wait: the append and the rotation are done
// holding "<path>.lock". A record that cannot be written never fails the run it describes: it
// costs one tool log line, and false. Never throws.
bool AppendRunRecord(const std::wstring& path, const RunRecord& record,
                     std::uintmax_t rotateBytes = kHistoryRotateBytes) noexcept;

// The same at RunHistoryPath(record.simulated).
bool RecordRun(const RunRecord& record) noexcept;

struct HistoryReading {
    std::vector<RunRecord> records;  // oldest first
    std::vector<std::string> notes;  // one for every line skipped, naming file and line
    bool found = false;              // the file or its older part exists
};

// The records of the history at `path`: "<path>.1" first, then `path`. A line that is not one
// whole record (cut, too long, not a record as the published schema has it) is skipped with a
// note, and so is a part that is not a regular file (never waited on) or cannot be read.
HistoryReading ReadRunHistory(const std::wstring& path);

}  // namespace fwup
