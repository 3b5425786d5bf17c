#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/wide_text.h"
#include "log/append_file.h"

namespace fwup {
namespace {

// Signals may keep interrupting a write; after this many the line is given up rather than
// holding up the caller.
constexpr int kMaxInterruptions = 16;

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_;
};

int OpenForAppend(const std::string& name) {
    // O_NONBLOCK only matters if someone put a FIFO in the log's place: the open then fails
    // instead of hanging the worker until a reader appears. Regular files ignore it.
    constexpr int kFlags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK;
    for (int attempt = 0; attempt < kMaxInterruptions; ++attempt) {
        const int fd = ::open(name.c_str(), kFlags, 0644);
        if (fd >= 0 || errno != EINTR) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

bool AppendToFile(const std::wstring& path, std::string_view bytes) {
    const FileDescriptor file(OpenForAppend(ToUtf8(path)));
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
