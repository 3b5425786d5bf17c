#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/child_process.h"
#include "app/cli/run_pool.h"

namespace fwup::cli::testing {

// What a fake child "prints" and how it ends, shared with the test: fed in chunks (any cut of its
// lines), read as from a pipe (blocking until a chunk or the end is there).
class FakeChildState {
  public:
    void Feed(std::string chunk) {
        const std::lock_guard<std::mutex> lock(mutex_);
        chunks_.push_back(std::move(chunk));
        changed_.notify_all();
    }
    void Close(ChildEnd end) {
        const std::lock_guard<std::mutex> lock(mutex_);
        end_ = std::move(end);
        closed_ = true;
        changed_.notify_all();
    }
    int interrupts() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return interrupts_;
    }
    std::string Read() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !chunks_.empty() || closed_; });
        if (chunks_.empty()) {
            return {};
        }
        std::string chunk = std::move(chunks_.front());
        chunks_.pop_front();
        return chunk;
    }
    void Interrupt() {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++interrupts_;
    }
    ChildEnd End() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return end_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> chunks_;
    bool closed_ = false;
    ChildEnd end_;
    int interrupts_ = 0;
};

class FakeChild final : public ChildProcess {
  public:
    explicit FakeChild(std::shared_ptr<FakeChildState> state) : state_(std::move(state)) {}
    std::string Read() override { return state_->Read(); }
    void Interrupt() override { state_->Interrupt(); }
    ChildEnd Wait() override { return state_->End(); }

  private:
    std::shared_ptr<FakeChildState> state_;
};

// Hands out fake children, each either fed in full at its start (`script`) or left to the test,
// and keeps the arguments each was started with.
class FakeChildren {
  public:
    struct Script {
        std::vector<std::string> chunks;
        ChildEnd end = {};
        bool leftOpen = false;  // the test feeds and closes it
    };
    std::vector<Script> scripts;
    std::vector<std::vector<std::string>> started;
    std::vector<std::shared_ptr<FakeChildState>> children;
    bool refuse = false;

    ChildStarter Starter() {
        return [this](const std::vector<std::string>& args,
                      std::string& error) -> std::unique_ptr<ChildProcess> {
            if (refuse) {
                error = "no such program";
                return nullptr;
            }
            const std::size_t index = started.size();
            started.push_back(args);
            auto state = std::make_shared<FakeChildState>();
            children.push_back(state);
            const Script script = index < scripts.size() ? scripts[index] : Script{};
            for (const std::string& chunk : script.chunks) {
                state->Feed(chunk);
            }
            if (!script.leftOpen) {
                state->Close(script.end);
            }
            return std::make_unique<FakeChild>(state);
        };
    }
};

// A child's result line, as the console program writes it (the parent adds the printer).
inline std::string ResultLine(int exitCode, const char* result, long bytesSent = 0) {
    return "{\"result\": \"" + std::string(result) +
           "\", \"exitCode\": " + std::to_string(exitCode) +
           ", \"schema\": 1, \"bytesSent\": " + std::to_string(bytesSent) + "}\n";
}

inline ChildEnd Exited(int code) {
    return {.exited = true, .exitCode = code};
}

// What the parent wrote, line by line.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace fwup::cli::testing
