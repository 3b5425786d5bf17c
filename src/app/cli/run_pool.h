#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/cli/child_process.h"

namespace fwup::cli {

// Starts a child: StartChildProcess with this program, or a fake in tests.
using ChildStarter = std::function<std::unique_ptr<ChildProcess>(
    const std::vector<std::string>& args, std::string& error)>;

// What one of the pool's runs did: a whole line it wrote (without its line end), or its end.
struct RunEvent {
    std::size_t run = 0;
    bool ended = false;
    std::string line = {};
    ChildEnd end = {};
};

// The child processes of one command, each read on a thread of its own, their lines and ends
// queued in the order they came. A child's line reaches the queue whole or not at all, so the
// lines of two children never meet within a line.
class RunPool {
  public:
    explicit RunPool(ChildStarter start) : start_(std::move(start)) {}
    // Asks every child still running to stop, and waits for all of them: a child is never left
    // behind writing to a pipe nobody reads.
    ~RunPool();
    RunPool(const RunPool&) = delete;
    RunPool& operator=(const RunPool&) = delete;

    // Starts run `run` with `args`. False with `error` when the child could not be started.
    bool Start(std::size_t run, const std::vector<std::string>& args, std::string& error);
    // Runs started whose end has not been taken from the queue.
    std::size_t Running() const { return running_; }
    // The next event, waiting at most `timeoutMs` for one.
    std::optional<RunEvent> Next(std::int64_t timeoutMs);
    // Asks every child to stop as an interrupt would.
    void InterruptAll();

    // A line longer than this is no line of ours: it is dropped, not kept growing.
    static constexpr std::size_t kLongestLine = 1 << 20;

  private:
    struct Child {
        std::size_t run = 0;
        std::unique_ptr<ChildProcess> process;
        std::thread reader;
    };
    void Read(Child& child);
    void Push(RunEvent event);

    ChildStarter start_;
    std::vector<std::unique_ptr<Child>> children_;
    std::size_t running_ = 0;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<RunEvent> queue_;  // guarded by mutex_
};

}  // namespace fwup::cli
