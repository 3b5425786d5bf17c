#include <windows.h>

#include <algorithm>

#include "base/win32/unique_win32.h"
#include "log/append_file.h"
#include "log/win32/regular_file_open.h"

namespace fwup {
namespace {

// WriteFile counts in DWORDs; larger text goes in pieces.
constexpr std::size_t kLargestWrite = 1 << 20;

// Another writer holds the file for one line's open, write and close; several processes logging
// at once queue up for it. A real wait, not the clock seam's: a test's instant clock would turn
// the wait into a spin that gives up at once and loses the line.
constexpr DWORD kBusyRetryMs = 2;
constexpr ULONGLONG kBusyWaitMs = 2000;
// Sleep(2) may last a whole scheduler tick; the count bounds the wait should the tick count stall.
constexpr int kMaxBusyRetries = 1000;

// Opens `path` as the only writer, waiting while another writer has it open.
HANDLE OpenAsSoleWriter(const std::wstring& path) {
    const ULONGLONG start = ::GetTickCount64();
    for (int retries = 0;; ++retries) {
        RegularOpen how = RegularOpen::kFailed;
        // Readers may share it; a second writer's open fails, so lines never interleave.
        const HANDLE file = OpenRegularFile(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, how);
        if (file != INVALID_HANDLE_VALUE || how != RegularOpen::kFailed ||
            ::GetLastError() != ERROR_SHARING_VIOLATION || retries >= kMaxBusyRetries ||
            ::GetTickCount64() - start >= kBusyWaitMs) {
            return file;
        }
        ::Sleep(kBusyRetryMs);
    }
}

}  // namespace

bool AppendToFile(const std::wstring& path, std::string_view bytes) {
    const win32::UniqueFileHandle file(OpenAsSoleWriter(path));
    if (!file.valid()) {
        return false;
    }
    LARGE_INTEGER zero{};
    if (!::SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) {
        return false;
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const auto chunk = static_cast<DWORD>(std::min(bytes.size() - written, kLargestWrite));
        DWORD done = 0;
        if (!::WriteFile(file.get(), bytes.data() + written, chunk, &done, nullptr) || done == 0) {
            return false;
        }
        written += done;
    }
    return true;
}

}  // namespace fwup
