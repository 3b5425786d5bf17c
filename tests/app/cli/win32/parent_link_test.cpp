#include "app/cli/parent_link.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/cli/interrupt_state.h"
#include "base/win32/unique_win32.h"

namespace fwup::cli {
namespace {

using win32::UniqueFileHandle;

struct FollowCase {
    const char* name;
    // Written one after the other; the pipe stays open unless `closeInput`, so a request then
    // came from the line alone.
    std::vector<std::string> writes;
    bool closeInput;
};

class ParentLink : public testing::TestWithParam<FollowCase> {
  protected:
    void SetUp() override { TheInterruptState().requested.store(false); }
    void TearDown() override { TheInterruptState().requested.store(false); }
};

// The reader is a real thread: it is given time, but not forever.
bool InterruptRequestedSoon() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!TheInterruptState().requested.load()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

TEST_P(ParentLink, RequestsAnInterrupt) {
    const FollowCase& c = GetParam();
    UniqueFileHandle read;
    UniqueFileHandle write;
    ASSERT_TRUE(CreatePipe(read.put(), write.put(), nullptr, 0));
    // The reader takes the input it is started with; the test's own comes back at once.
    const HANDLE ownInput = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, read.get());
    FollowParentInterrupts();
    SetStdHandle(STD_INPUT_HANDLE, ownInput);

    for (const std::string& bytes : c.writes) {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(write.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr));
    }
    if (c.closeInput) {
        write.reset();
    }
    EXPECT_TRUE(InterruptRequestedSoon());
    // The reader has stopped reading before it requested: its pipe may go.
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParentLink,
    testing::Values(FollowCase{"InterruptLine", {"interrupt\n"}, false},
                    FollowCase{"InterruptLineEndedByCrLf", {"interrupt\r\n"}, false},
                    FollowCase{
                        "InterruptLineInPiecesAfterAnother", {"status\ninter", "rupt\n"}, false},
                    FollowCase{"InterruptAfterALongLine",
                               {std::string(5000, 'x') + "interrupt\n", "interrupt\n"},
                               false},
                    FollowCase{"EndOfInput", {}, true},
                    FollowCase{"EndOfInputWithinALine", {"interr"}, true}),
    [](const testing::TestParamInfo<FollowCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fwup::cli
