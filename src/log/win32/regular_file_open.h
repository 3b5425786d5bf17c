#pragma once

#include <windows.h>

#include <string>

#include "log/regular_open.h"

namespace fwup {

// CreateFileW(`path`, `access`, `share`, `disposition`) without following a reparse point (a
// symbolic link or junction in the file's place), keeping the handle only for a file on disk
// that is neither a folder nor a reparse point. INVALID_HANDLE_VALUE otherwise; the caller owns
// the handle. When the open itself failed (`how` kAbsent or kFailed), GetLastError says why: a
// caller may wait out ERROR_SHARING_VIOLATION.
HANDLE OpenRegularFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                       RegularOpen& how);

}  // namespace fwup
