#include "log/tool_log.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "app/common/program_services.h"
#include "fakes/instant_clock.h"
#include "fakes/recording_notice_output.h"
#include "log/cp936.h"

namespace fwup {
namespace {

namespace fs = std::filesystem;

// Each test gets a directory of its own that stands in for the executable's.
class ToolLogFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("fwup-toollog-") + info->name() + "-" +
                           std::to_string(std::random_device{}());
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        dir_ = fs::temp_directory_path() / name;
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        PretendExecutableIn(dir_);
#ifndef _WIN32
        // Where the directory cannot be written the log would move to the user's state directory;
        // here that can never be made, so nothing lands outside the test's directory.
        setenv("XDG_STATE_HOME", "/dev/null/state", 1);
#endif
    }
    void TearDown() override {
        pretended_.reset();
#ifndef _WIN32
        unsetenv("XDG_STATE_HOME");
#endif
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    void PretendExecutableIn(const fs::path& dir) {
        PretendExecutable((dir / "fwup.exe").wstring());
    }
    void PretendExecutable(std::wstring path) {
        pretended_.reset();
        pretended_.emplace(ProgramServices{.modulePath = std::move(path)});
    }
    fs::path LogPath() const {
        return dir_ / "Tool.log";
    }
    std::string ReadLog() const {
        std::ifstream in(LogPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    testing::InstantClock clock_;
    fs::path dir_;
    std::optional<InstalledServices> pretended_;
};

struct LineCase {
    const char* name;
    CivilTime time;
    std::wstring message;
    std::string bytes;
};

class ToolLogLineTest : public ToolLogFileTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ToolLogLineTest, StoresExactBytes) {
    clock_.SetLocalTime(GetParam().time);
    WriteToolLog(GetParam().message);
    EXPECT_EQ(ReadLog(), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ToolLogLineTest,
    ::testing::Values(
        LineCase{"Ascii",
                 {3, 9, 14, 5, 7},
                 L"Will burn FW which is encrypted",
                 "[03/09 14:05:07] Will burn FW which is encrypted\r\r\n"},
        LineCase{"PaddedFields", {1, 2, 3, 4, 5}, L"x", "[01/02 03:04:05] x\r\r\n"},
        LineCase{"LastSecondOfYear", {12, 31, 23, 59, 59}, L"x", "[12/31 23:59:59] x\r\r\n"},
        LineCase{"Empty", {3, 9, 14, 5, 7}, L"", "[03/09 14:05:07] \r\r\n"},
        LineCase{
            "TrailingLineFeed", {3, 9, 14, 5, 7}, L"done\n", "[03/09 14:05:07] done\r\n\r\r\n"},
        LineCase{"CarriageReturnKept",
                 {3, 9, 14, 5, 7},
                 L"a\rb\r\nc",
                 "[03/09 14:05:07] a\rb\r\r\nc\r\r\n"},
        LineCase{
            "Gbk", {3, 9, 14, 5, 7}, L"\u4E2D\u6587", "[03/09 14:05:07] \xD6\xD0\xCE\xC4\r\r\n"},
        LineCase{"UnmappableBecomesQuestionMark",
                 {3, 9, 14, 5, 7},
                 L"a\u0E01b\u4E2D",
                 "[03/09 14:05:07] a?b\xD6\xD0\r\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolLogFileTest, AppendsAcrossCallsAndStartsAnewAfterDeletion) {
    WriteToolLog(L"first");
    clock_.SetLocalTime({3, 9, 14, 5, 8});
    WriteToolLog(L"second");
    EXPECT_EQ(ReadLog(), "[03/09 14:05:07] first\r\r\n[03/09 14:05:08] second\r\r\n");

    fs::remove(LogPath());
    WriteToolLog(L"third");
    EXPECT_EQ(ReadLog(), "[03/09 14:05:08] third\r\r\n");
}

TEST_F(ToolLogFileTest, UnwritableTargetDropsTheLine) {
    const fs::path missing = dir_ / "missing";
    PretendExecutableIn(missing);
    WriteToolLog(L"lost");
    EXPECT_FALSE(fs::exists(missing));

    // A path with no directory in it is no place to write: nothing lands in the working directory.
    PretendExecutable(L"fwup.exe");
    EXPECT_EQ(GetPathInModuleDir(L"Tool.log"), L"");
    WriteToolLog(L"lost");
    EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(ToolLogFileTest, LongPathIsNeverCut) {
    // Sized so that cutting the log path to 259 characters would leave "Tool." behind.
    const std::size_t base = dir_.wstring().size() + 1;
    ASSERT_LT(base, 240u);
    const fs::path deep = dir_ / std::wstring(253 - base, L'd');
    fs::create_directories(deep);
    PretendExecutableIn(deep);
    const std::wstring expected = (deep / "Tool.log").wstring();
    ASSERT_EQ(expected.size(), 262u);
    EXPECT_EQ(GetPathInModuleDir(L"Tool.log"), expected);

    // Whether the platform opens a path this long or refuses it, no other name may appear.
    WriteToolLog(L"long");
    for (const auto& entry : fs::directory_iterator(deep)) {
        EXPECT_EQ(entry.path().filename(), fs::path("Tool.log"));
    }
}

TEST_F(ToolLogFileTest, NoticeGoesToTheDebuggerOutputOnly) {
    testing::RecordingNoticeOutput notices;
    ToolShowNotice(L"Get system device list failed!");
    WriteToolLog(L"file only");
    ASSERT_EQ(notices.lines.size(), 1u);
    EXPECT_EQ(notices.lines[0], L"Tool show NOTICE\uFF1AGet system device list failed!");
    EXPECT_EQ(ReadLog(), "[03/09 14:05:07] file only\r\r\n");
}

// A process working for one printer names it in each line, also in lines other threads write;
// emptied, the lines are as before.
TEST_F(ToolLogFileTest, SubjectLeadsEveryLaterMessage) {
    struct Reset {
        ~Reset() { SetToolLogSubject(L""); }
    } const reset;
    WriteToolLog(L"before");
    SetToolLogSubject(L"USB001 SER0001");
    WriteToolLog(L"on the main thread");
    std::thread([] { WriteToolLog(L"on a worker\u4E2D"); }).join();
    SetToolLogSubject(L"");
    WriteToolLog(L"after");
    EXPECT_EQ(ReadLog(),
              "[03/09 14:05:07] before\r\r\n"
              "[03/09 14:05:07] USB001 SER0001: on the main thread\r\r\n"
              "[03/09 14:05:07] USB001 SER0001: on a worker\xD6\xD0\r\r\n"
              "[03/09 14:05:07] after\r\r\n");
}

TEST_F(ToolLogFileTest, LeavesTheProcessLocaleAlone) {
    const std::string before = std::setlocale(LC_CTYPE, nullptr);
    WriteToolLog(L"\u4E2D\u6587");
    EXPECT_EQ(std::setlocale(LC_CTYPE, nullptr), before);
}

// Lines long enough, and enough of them, that two writers running side by side meet mid-line: a
// line handed over in pieces, or written at an end the other writer has just moved, shows up
// mixed. Where the platform refuses a second open while a line is being written, the second
// writer waits its turn: no line is lost either.
TEST_F(ToolLogFileTest, TwoThreadsNeverMixWithinALineNorLoseOne) {
    constexpr int kLines = 1000;
    constexpr std::size_t kLineChars = 4000;
    const auto writeLines = [](wchar_t letter) {
        const std::wstring message(kLineChars, letter);
        for (int i = 0; i < kLines; ++i) {
            WriteToolLog(message);
        }
    };
    std::thread other(writeLines, L'b');
    writeLines(L'a');
    other.join();

    const std::string stamp = "[03/09 14:05:07] ";
    const std::string firstLine = stamp + std::string(kLineChars, 'a') + "\r\r\n";
    const std::string secondLine = stamp + std::string(kLineChars, 'b') + "\r\r\n";
    const std::string log = ReadLog();
    int lines = 0;
    for (std::size_t at = 0; at < log.size(); at += firstLine.size(), ++lines) {
        const std::string line = log.substr(at, firstLine.size());
        ASSERT_TRUE(line == firstLine || line == secondLine) << "line " << lines << " is mixed";
    }
    EXPECT_EQ(lines, 2 * kLines);
}

TEST(ToolLogPathTest, RealExecutableDirectory) {
    const std::wstring path = GetPathInModuleDir(L"Tool.log");
    const std::wstring tail = std::wstring(1, fs::path::preferred_separator) + L"Tool.log";
    ASSERT_GT(path.size(), tail.size());
    EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
    const fs::path dir = fs::path(path).parent_path();
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_TRUE(fs::exists(dir / "fwup_tests") || fs::exists(dir / "fwup_tests.exe"));
}

// One mark per character on both platforms, though Windows sees two UTF-16 units.
TEST(Cp936Test, CharacterOutsideTheCodePageIsOneQuestionMark) {
    EXPECT_EQ(EncodeCp936(L"a\U0001F600b"), "a?b");
    EXPECT_EQ(EncodeCp936(std::wstring{L'a', static_cast<wchar_t>(0xD800), L'b'}), "a?b");
    EXPECT_EQ(EncodeAsciiOrQuestionMark(L"a\U0001F600\u4E2Db"), "a??b");
}

}  // namespace
}  // namespace fwup
