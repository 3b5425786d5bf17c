#include "upgrade/run_history.h"

#include <filesystem>
#include <system_error>
#include <type_traits>

#include "base/environment.h"
#include "base/wide_text.h"
#include "log/append_file.h"
#include "log/file_lock.h"
#include "log/file_reader.h"
#include "log/tool_log.h"
#include "log/tool_log_place.h"

namespace fwup {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHistoryFileName = "history.jsonl";
// A simulated run's history of its own, so that no simulated success sits among real flashes.
constexpr const char* kSimulatedHistoryFileName = "history-simulated.jsonl";

// The platform's own form of a path kept as wide text: UTF-16 on Windows, UTF-8 elsewhere.
fs::path FilePath(const std::wstring& path) {
    if constexpr (std::is_same_v<fs::path::value_type, wchar_t>) {
        return fs::path(path);
    } else {
        return fs::path(ToUtf8(path));
    }
}

std::wstring WidePath(const fs::path& path) {
    if constexpr (std::is_same_v<fs::path::value_type, wchar_t>) {
        return path.wstring();
    } else {
        return FromUtf8(path.string());
    }
}

std::wstring OlderPart(const std::wstring& path) {
    return path + L".1";
}

std::wstring LockFile(const std::wstring& path) {
    return path + L".lock";
}

// Called with the history's lock held, so that no other writer rotates or appends between the
// size read here and the append that follows.
void RotateIfFull(const std::wstring& path, std::size_t adding, std::uintmax_t rotateBytes) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(FilePath(path), error);
    if (error || !fs::is_regular_file(status)) {
        return;
    }
    const std::uintmax_t size = fs::file_size(FilePath(path), error);
    if (error || size + adding <= rotateBytes) {
        return;
    }
    fs::rename(FilePath(path), FilePath(OlderPart(path)), error);
    if (error) {
        // A rename onto an existing file fails on Windows.
        fs::remove(FilePath(OlderPart(path)), error);
        fs::rename(FilePath(path), FilePath(OlderPart(path)), error);
    }
}

// Reads `path` line by line into `reading`, never holding more than one bounded line.
void ReadPart(const std::wstring& path, HistoryReading& reading) {
    FileReader in(path);
    const std::string name = ToUtf8(path);
    switch (in.opened()) {
        case RegularOpen::kOpened:
            break;
        case RegularOpen::kAbsent:
            return;
        case RegularOpen::kRefused:
            reading.found = true;
            reading.notes.push_back(name + ": not a regular file, skipped");
            return;
        case RegularOpen::kFailed:
            reading.found = true;
            reading.notes.push_back(name + ": cannot be read, skipped");
            return;
    }
    reading.found = true;
    std::string line;
    bool tooLong = false;
    std::size_t number = 0;
    const auto finish = [&](bool whole) {
        ++number;
        if (!tooLong && line.empty() && whole) {
            return;
        }
        std::optional<RunRecord> record;
        if (!tooLong && whole) {
            record = ParseRunRecordLine(line);
        }
        if (record) {
            reading.records.push_back(std::move(*record));
        } else {
            reading.notes.push_back(name + " line " + std::to_string(number) + ": " +
                                    (tooLong ? "too long"
                                     : whole ? "not a record"
                                             : "cut off") +
                                    ", skipped");
        }
        line.clear();
        tooLong = false;
    };
    char chunk[8192];
    for (std::size_t got; (got = in.Read(chunk, sizeof chunk)) > 0;) {
        for (std::size_t i = 0; i < got; ++i) {
            if (chunk[i] == '\n') {
                finish(true);
            } else if (tooLong || line.size() >= kMaxHistoryLineBytes) {
                tooLong = true;
            } else {
                line.push_back(chunk[i]);
            }
        }
    }
    if (!line.empty() || tooLong) {
        finish(false);
    }
}

}  // namespace

std::wstring RunHistoryPath(bool simulated) {
    if (!simulated) {
        return HostHistoryPath(GetPathInModuleDir(FromUtf8(kHistoryFileName)), kHistoryFileName);
    }
    if (const std::optional<fs::path> folder = EnvironmentPath(kHistoryPlaceVariable)) {
        return WidePath(*folder / kHistoryFileName);
    }
    return HostHistoryPath(GetPathInModuleDir(FromUtf8(kSimulatedHistoryFileName)),
                           kSimulatedHistoryFileName);
}

std::wstring RunHistoryPath() {
    return RunHistoryPath(PrintersAreSimulated());
}

bool AppendRunRecord(const std::wstring& path, const RunRecord& record,
                     std::uintmax_t rotateBytes) noexcept {
    try {
        // The platform open would stop at a NUL and write to a shorter, wrong name.
        if (path.empty() || path.find(L'\0') != std::wstring::npos) {
            WriteToolLog(L"The run is not in the history: there is no place to keep it");
            return false;
        }
        const std::string line = RunRecordLine(record);
        const FileLock lock(LockFile(path));
        if (!lock.held()) {
            // The lock is made beside the file: where it cannot be, neither can the file.
            WriteToolLog(L"The run is not in the history: " + path + L" cannot be written");
            return false;
        }
        RotateIfFull(path, line.size(), rotateBytes);
        if (!AppendToFile(path, line)) {
            WriteToolLog(L"The run is not in the history: " + path + L" cannot be written");
            return false;
        }
        return true;
    } catch (...) {
        WriteToolLog(L"The run is not in the history: no memory to write it");
        return false;
    }
}

bool RecordRun(const RunRecord& record) noexcept {
    try {
        return AppendRunRecord(RunHistoryPath(record.simulated), record);
    } catch (...) {
        WriteToolLog(L"The run is not in the history: no memory to write it");
        return false;
    }
}

HistoryReading ReadRunHistory(const std::wstring& path) {
    HistoryReading reading;
    if (!path.empty()) {
        ReadPart(OlderPart(path), reading);
        ReadPart(path, reading);
    }
    return reading;
}

}  // namespace fwup
