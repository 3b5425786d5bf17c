#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "log/regular_open.h"

namespace fwup {

// A file opened for reading only when it is a regular file: a symbolic link (a reparse point on
// Windows) is not followed, and a FIFO or a device in its place is refused at once, never waited
// on. Defined per platform.
class FileReader {
  public:
    explicit FileReader(const std::wstring& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    RegularOpen opened() const { return opened_; }

    // Up to `size` bytes into `buffer`; 0 at the end of the file or on an error.
    std::size_t Read(char* buffer, std::size_t size);

  private:
    RegularOpen opened_ = RegularOpen::kFailed;
    std::intptr_t handle_ = -1;  // a file descriptor, or a HANDLE on Windows
};

}  // namespace fwup
