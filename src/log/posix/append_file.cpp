#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/wide_text.h"
#include "log/append_file.h"
#include "log/posix/regular_file_open.h"

namespace fwup {
namespace {

// Signals may keep interrupting a write; after this many the line is given up rather than
// holding up the caller.
constexpr int kMaxInterruptions = 16;

}  // namespace

bool AppendToFile(const std::wstring& path, std::string_view bytes) {
    RegularOpen how = RegularOpen::kFailed;
    const UniqueFd file = OpenRegularFile(ToUtf8(path), O_WRONLY | O_CREAT | O_APPEND, 0644,
                                          OpenPurpose::kWrite, how);
    if (!file.valid()) {
        return false;
    }
    std::size_t written = 0;
    int interruptions = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(file.get(), bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR && ++interruptions < kMaxInterruptions) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace fwup
