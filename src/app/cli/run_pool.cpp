#include "app/cli/run_pool.h"

#include <chrono>

namespace fwup::cli {

RunPool::~RunPool() {
    InterruptAll();
    for (const std::unique_ptr<Child>& child : children_) {
        if (child->reader.joinable()) {
            child->reader.join();
        }
    }
}

bool RunPool::Start(std::size_t run, const std::vector<std::string>& args, std::string& error) {
    std::unique_ptr<ChildProcess> process = start_(args, error);
    if (!process) {
        return false;
    }
    auto child = std::make_unique<Child>();
    child->run = run;
    child->process = std::move(process);
    Child& started = *child;
    children_.push_back(std::move(child));
    ++running_;
    started.reader = std::thread([this, &started] { Read(started); });
    return true;
}

void RunPool::Read(Child& child) {
    std::string pending;
    bool overlong = false;
    for (std::string bytes = child.process->Read(); !bytes.empty(); bytes = child.process->Read()) {
        for (const char c : bytes) {
            if (c != '\n') {
                if (pending.size() < kLongestLine) {
                    pending.push_back(c);
                } else {
                    overlong = true;
                }
                continue;
            }
            // A child on Windows writes its standard output in text mode: CR LF ends its lines.
            // JSON escapes every CR inside a line, so a last CR can only be that line end.
            if (!pending.empty() && pending.back() == '\r') {
                pending.pop_back();
            }
            if (!overlong) {
                Push({.run = child.run, .line = std::move(pending)});
            }
            pending.clear();
            overlong = false;
        }
    }
    // A line cut off by the child's end is not one it wrote: it is dropped.
    Push({.run = child.run, .ended = true, .end = child.process->Wait()});
}

void RunPool::Push(RunEvent event) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(event));
    }
    queued_.notify_one();
}

std::optional<RunEvent> RunPool::Next(std::int64_t timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!queued_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [this] { return !queue_.empty(); })) {
        return std::nullopt;
    }
    RunEvent event = std::move(queue_.front());
    queue_.pop_front();
    if (event.ended) {
        --running_;
    }
    return event;
}

void RunPool::InterruptAll() {
    for (const std::unique_ptr<Child>& child : children_) {
        child->process->Interrupt();
    }
}

}  // namespace fwup::cli
