#include "app/cli/parent_link.h"

#include <windows.h>

#include <string>
#include <thread>

namespace fwup::cli {
namespace {

// Returns when the line "interrupt" has come, or the input has ended or failed: each means the
// parent wants the run stopped, or can no longer say so.
void AwaitInterruptLine(HANDLE input) {
    // Enough for "interrupt\r"; a longer line is kept cut short, so it never matches and whatever
    // the parent writes takes no more memory.
    static constexpr std::size_t kLongestKept = 16;
    std::string line;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            if (buffer[i] != '\n') {
                if (line.size() < kLongestKept) {
                    line += buffer[i];
                }
                continue;
            }
            if (line == "interrupt" || line == "interrupt\r") {
                return;
            }
            line.clear();
        }
    }
}

}  // namespace

void FollowParentInterrupts() {
    // Taken now, not on the thread: whatever the process later sets as its input is not ours.
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    // Started by hand with no input at all: there is no parent to follow.
    if (input == nullptr || input == INVALID_HANDLE_VALUE) {
        return;
    }
    std::thread([input] {
        AwaitInterruptLine(input);
        RequestInterrupt();
    }).detach();
}

}  // namespace fwup::cli
