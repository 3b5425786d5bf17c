#include "app/cli/child_process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/win32/unique_win32.h"

namespace fwup::cli {
namespace {

using win32::UniqueFileHandle;

// tests/app/cli/win32/child_echo.cpp, built beside this program.
std::wstring ChildEcho() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + L"fwup_child_echo.exe";
}

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

std::string ReadToEnd(ChildProcess& child) {
    std::string output;
    for (std::string part = child.Read(); !part.empty(); part = child.Read()) {
        output += part;
    }
    return output;
}

struct ChildCase {
    const char* name;
    // The child's MODE and EXIT_CODE first (child_echo.cpp).
    std::vector<std::string> args;
    // Interrupt calls, from two threads at once when 2.
    int interrupts;
    // What a "stdin" child read.
    const char* input;
    bool exited;
    int exitCode;
    const char* how;
};

class ChildProcessRun : public testing::TestWithParam<ChildCase> {};

TEST_P(ChildProcessRun, ChildReadsItsArgumentsAndInputAndEndsAsItSaid) {
    const ChildCase& c = GetParam();
    std::string error;
    const std::unique_ptr<ChildProcess> child = StartChildProcess(ChildEcho(), c.args, error);
    ASSERT_NE(child, nullptr) << error;
    if (c.interrupts == 2) {
        std::thread other([&] { child->Interrupt(); });
        child->Interrupt();
        other.join();
    } else if (c.interrupts == 1) {
        child->Interrupt();
    }

    std::string expected;
    for (const std::string& arg : c.args) {
        expected += "arg " + Hex(arg) + "\n";
    }
    if (c.args[0] == "stdin") {
        expected += "stdin " + Hex(c.input) + "\n";
    }
    EXPECT_EQ(ReadToEnd(*child), expected);
    EXPECT_EQ(child->Read(), "");  // and stays ended

    const ChildEnd end = child->Wait();
    EXPECT_EQ(end.exited, c.exited);
    EXPECT_EQ(end.exitCode, c.exitCode);
    EXPECT_EQ(end.how, c.how);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChildProcessRun,
    testing::Values(
        ChildCase{"SpacesAndQuotes",
                  {"args", "0", "two words", "say \"hi\"", "\"", "\"\"", "a\"b", " lead"},
                  0,
                  "",
                  true,
                  0,
                  ""},
        ChildCase{"Backslashes",
                  {"args", "3", "C:\\dir\\", "C:\\a b\\", "\\\\\"", "\\\\", "x\\\\y", "\\\" \\"},
                  0,
                  "",
                  true,
                  3,
                  ""},
        ChildCase{
            "EmptyAndBlank", {"args", "130", "", " ", "\t", "a\nb", ""}, 0, "", true, 130, ""},
        ChildCase{"NonAscii",
                  {"args", "0", "Größe", "打印机", "a \xF0\x9F\x96\xA8 b"},
                  0,
                  "",
                  true,
                  0,
                  ""},
        ChildCase{"InterruptThenEndOfInput", {"stdin", "0"}, 1, "interrupt\n", true, 0, ""},
        ChildCase{"InterruptTwiceFromTwoThreads", {"stdin", "0"}, 2, "interrupt\n", true, 0, ""},
        // A crash ends a process with its status as the exit code.
        ChildCase{
            "CrashStatus", {"args", "3221225477"}, 0, "", false, 0, "ended by status 0xC0000005"}),
    [](const testing::TestParamInfo<ChildCase>& info) { return std::string(info.param.name); });

struct NotStartedCase {
    const char* name;
    bool realProgram;
    std::vector<std::string> args;
};

class ChildProcessNotStarted : public testing::TestWithParam<NotStartedCase> {};

TEST_P(ChildProcessNotStarted, IsNullWithTheReason) {
    const NotStartedCase& c = GetParam();
    const std::wstring program = c.realProgram ? ChildEcho() : L"C:\\no\\such\\fwup-child.exe";
    std::string error;
    EXPECT_EQ(StartChildProcess(program, c.args, error), nullptr);
    EXPECT_NE(error, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChildProcessNotStarted,
    testing::Values(NotStartedCase{"NoSuchProgram", false, {"args", "0"}},
                    // The line would end at it, and the child would read other arguments.
                    NotStartedCase{"ArgumentWithNul", true, {"args", "0", std::string("a\0b", 3)}}),
    [](const testing::TestParamInfo<NotStartedCase>& info) {
        return std::string(info.param.name);
    });

// A child that inherited another pipe of ours would hold it open: whoever reads that pipe would
// never see its end while the child runs.
TEST(ChildProcess, InheritsNoHandleButItsOwn) {
    UniqueFileHandle otherRead;
    UniqueFileHandle otherWrite;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    ASSERT_TRUE(CreatePipe(otherRead.put(), otherWrite.put(), &inheritable, 0));

    std::string error;
    const std::unique_ptr<ChildProcess> child =
        StartChildProcess(ChildEcho(), {"stdin", "0"}, error);
    ASSERT_NE(child, nullptr) << error;
    // The child now waits for its input to end.
    otherWrite.reset();
    DWORD available = 0;
    EXPECT_FALSE(PeekNamedPipe(otherRead.get(), nullptr, 0, nullptr, &available, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));

    child->Interrupt();
    ReadToEnd(*child);
    EXPECT_TRUE(child->Wait().exited);
}

}  // namespace
}  // namespace fwup::cli
