#include <gtest/gtest.h>

#include <string>

#include "log/notice_output.h"
#include "log/tool_log.h"

namespace fwup {
namespace {

// Standard error has no line per call as a debugger has: every text must end its own line.
TEST(StderrNoticeOutput, EveryTextEndsItsLine) {
    ::testing::internal::CaptureStderr();
    ToolShowNotice(L"prepare for fw updating...");
    DebugOutput(L"raw");
    DebugOutput(L"already ended\r\n");
    DebugOutput(L"");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Tool show NOTICE\xEF\xBC\x9Aprepare for fw updating...\nraw\nalready ended\r\n\n");
}

}  // namespace
}  // namespace fwup
