#include "app/cli/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include "base/wide_text.h"

extern char** environ;

namespace fwup::cli {
namespace {

class PosixChild final : public ChildProcess {
  public:
    PosixChild(pid_t pid, int output, int input) : pid_(pid), output_(output), input_(input) {}
    ~PosixChild() override {
        Interrupt();
        if (output_ >= 0) {
            ::close(output_);
        }
        if (!waited_) {
            // Never left a zombie: the pool waits for every child before it lets go of it.
            (void)Wait();
        }
    }

    std::string Read() override {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(output_, buffer, sizeof buffer);
            if (n > 0) {
                return std::string(buffer, static_cast<std::size_t>(n));
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            return {};
        }
    }

    void Interrupt() override {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (input_ < 0) {
            return;
        }
        static constexpr char kLine[] = "interrupt\n";
        // The child may have ended already: a failed write says nothing more than that.
        [[maybe_unused]] const ssize_t written = ::write(input_, kLine, sizeof kLine - 1);
        ::close(input_);
        input_ = -1;
    }

    ChildEnd Wait() override {
        waited_ = true;
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0) {
            if (errno != EINTR) {
                return {.how = std::string("lost: ") + std::strerror(errno)};
            }
        }
        if (WIFEXITED(status)) {
            return {.exited = true, .exitCode = WEXITSTATUS(status)};
        }
        if (WIFSIGNALED(status)) {
            return {.how = "ended by signal " + std::to_string(WTERMSIG(status))};
        }
        return {.how = "ended without an exit code"};
    }

  private:
    pid_t pid_;
    int output_;
    std::mutex mutex_;
    int input_;  // guarded by mutex_
    bool waited_ = false;
};

struct Pipe {
    int fds[2] = {-1, -1};
    bool Open() { return ::pipe2(fds, O_CLOEXEC) == 0; }
    ~Pipe() {
        for (const int fd : fds) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    int Take(int end) {
        const int fd = fds[end];
        fds[end] = -1;
        return fd;
    }
};

}  // namespace

std::unique_ptr<ChildProcess> StartChildProcess(const std::wstring& program,
                                                const std::vector<std::string>& args,
                                                std::string& error) {
    Pipe output;
    Pipe input;
    if (!output.Open() || !input.Open()) {
        error = std::string("no pipe: ") + std::strerror(errno);
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input.fds[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output.fds[1], STDOUT_FILENO);
    // The child's signals start as the system's, whatever this program ignores.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    const std::string path = ToUtf8(program);
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        error = path + ": " + std::strerror(failed);
        return nullptr;
    }
    return std::make_unique<PosixChild>(pid, output.Take(0), input.Take(1));
}

}  // namespace fwup::cli
