// Tool.log written by several processes at once, as the console program's runs for several
// printers do: every line arrives exactly once and whole.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/common/program_services.h"
#include "base/wide_text.h"
#include "fakes/temp_log_dir.h"
#include "log/tool_log.h"
#include "upgrade/writer_processes.h"

namespace fwup {
namespace {

constexpr int kWriters = 8;
constexpr int kLinesEach = 200;
constexpr std::size_t kStampBytes = 17;  // "[MM/DD hh:mm:ss] "

// Lengths vary up to a few hundred bytes, so that lines of all sizes meet.
std::string Message(int writer, int index) {
    const std::size_t padding = static_cast<std::size_t>(writer * 37 + index * 13) % 300;
    return "W" + std::to_string(writer) + "-" + std::to_string(index) + " " +
           std::string(padding, static_cast<char>('a' + writer));
}

std::string Subject(int writer) {
    return "USB00" + std::to_string(writer);
}

// The task: the folder the log is in, a tab, the writer's number.
bool WriteShare(const std::string& task) {
    const std::size_t tab = task.find('\t');
    if (tab == std::string::npos) {
        return false;
    }
    const std::filesystem::path dir = FromUtf8(task.substr(0, tab));
    const int writer = std::stoi(task.substr(tab + 1));
    const InstalledServices place(ProgramServices{.modulePath = (dir / "fwup.exe").wstring()});
    SetToolLogSubject(FromUtf8(Subject(writer)));
    for (int i = 0; i < kLinesEach; ++i) {
        WriteToolLog(FromUtf8(Message(writer, i)));
    }
    SetToolLogSubject(L"");
    return true;
}

// The writer processes' side on Windows, where they are this binary started again.
TEST(ToolLogWriter, WritesItsShareWhenStartedAsAWriter) {
    EXPECT_TRUE(testing::RunWriterTaskIfStarted(WriteShare));
}

TEST(ToolLogWriters, EveryLineOfEveryProcessArrivesOnceAndWhole) {
    testing::TempLogDir log;
    std::vector<std::string> tasks;
    for (int writer = 0; writer < kWriters; ++writer) {
        tasks.push_back(ToUtf8(log.dir().wstring()) + "\t" + std::to_string(writer));
    }

    const std::vector<int> codes = testing::RunInWriterProcesses(
        tasks, WriteShare, "ToolLogWriter.WritesItsShareWhenStartedAsAWriter");

    EXPECT_EQ(codes, std::vector<int>(kWriters, 0));
    std::map<std::string, int> expected;  // each line's message, and how often it was seen
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int i = 0; i < kLinesEach; ++i) {
            expected.emplace(Subject(writer) + ": " + Message(writer, i), 0);
        }
    }
    const std::string bytes = log.LogBytes();
    std::size_t start = 0;
    int lines = 0;
    for (std::size_t end; (end = bytes.find("\r\r\n", start)) != std::string::npos;
         start = end + 3, ++lines) {
        const std::string line = bytes.substr(start, end - start);
        ASSERT_TRUE(line.size() > kStampBytes && line[0] == '[' &&
                    line.compare(kStampBytes - 2, 2, "] ") == 0)
            << "line " << lines << " has no stamp: " << line.substr(0, 80);
        const auto seen = expected.find(line.substr(kStampBytes));
        ASSERT_NE(seen, expected.end()) << "line " << lines << " is mixed: " << line.substr(0, 80);
        ASSERT_EQ(++seen->second, 1) << "line " << lines << " twice";
    }
    EXPECT_EQ(start, bytes.size()) << "the log ends in a cut line";
    EXPECT_EQ(lines, kWriters * kLinesEach);
}

}  // namespace
}  // namespace fwup
