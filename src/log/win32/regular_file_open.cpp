#include "log/win32/regular_file_open.h"

namespace fwup {

HANDLE OpenRegularFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                       RegularOpen& how) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), access, share, nullptr, disposition,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        how = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? RegularOpen::kAbsent
                                                                             : RegularOpen::kFailed;
        ::SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        ::CloseHandle(file);
        how = RegularOpen::kRefused;
        return INVALID_HANDLE_VALUE;
    }
    how = RegularOpen::kOpened;
    return file;
}

}  // namespace fwup
