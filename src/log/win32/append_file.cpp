#include <windows.h>

#include <algorithm>

#include "base/win32/unique_win32.h"
#include "log/append_file.h"
#include "log/win32/regular_file_open.h"

namespace fwup {
namespace {

// WriteFile counts in DWORDs; larger text goes in pieces.
constexpr std::size_t kLargestWrite = 1 << 20;

}  // namespace

bool AppendToFile(const std::wstring& path, std::string_view bytes) {
    // Readers may share it; a second writer's open fails, so lines never interleave.
    RegularOpen how = RegularOpen::kFailed;
    const win32::UniqueFileHandle file(
        OpenRegularFile(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, how));
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
