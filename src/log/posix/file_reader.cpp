#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/wide_text.h"
#include "log/file_reader.h"
#include "log/posix/regular_file_open.h"

namespace fwup {
namespace {

constexpr int kMaxInterruptions = 16;

}  // namespace

FileReader::FileReader(const std::wstring& path) {
    UniqueFd file = OpenRegularFile(ToUtf8(path), O_RDONLY, 0, OpenPurpose::kRead, opened_);
    if (opened_ == RegularOpen::kOpened) {
        handle_ = file.release();
    }
}

FileReader::~FileReader() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
    }
}

std::size_t FileReader::Read(char* buffer, std::size_t size) {
    if (handle_ < 0) {
        return 0;
    }
    for (int attempt = 0; attempt < kMaxInterruptions; ++attempt) {
        const ssize_t n = ::read(static_cast<int>(handle_), buffer, size);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            break;
        }
    }
    return 0;
}

}  // namespace fwup
