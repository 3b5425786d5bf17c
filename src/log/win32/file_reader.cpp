#include <windows.h>

#include <algorithm>

#include "log/file_reader.h"
#include "log/win32/regular_file_open.h"

namespace fwup {

FileReader::FileReader(const std::wstring& path) {
    // Sharing writing and deleting: a reader never makes a run's record fail, nor the rotation.
    const HANDLE file =
        OpenRegularFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        OPEN_EXISTING, opened_);
    if (opened_ == RegularOpen::kOpened) {
        handle_ = reinterpret_cast<std::intptr_t>(file);
    }
}

FileReader::~FileReader() {
    if (opened_ == RegularOpen::kOpened) {
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    }
}

std::size_t FileReader::Read(char* buffer, std::size_t size) {
    if (opened_ != RegularOpen::kOpened) {
        return 0;
    }
    DWORD done = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1 << 20));
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, chunk, &done, nullptr)) {
        return 0;
    }
    return done;
}

}  // namespace fwup
