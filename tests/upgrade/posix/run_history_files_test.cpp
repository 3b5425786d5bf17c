// The history where something else than a regular file stands in its place: a record is not
// written through it (one tool log line instead), and `history` reads on without waiting.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "fakes/temp_log_dir.h"
#include "upgrade/run_history.h"

namespace fwup {
namespace {

namespace fs = std::filesystem;

TEST(RunHistoryInPlaceOfAFile, NothingButARegularFileIsWrittenOrWaitedOn) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& dir)> make;
    } const cases[] = {
        {"link to another file",
         [](const fs::path& dir) { fs::create_symlink(dir / "target", dir / "history.jsonl"); }},
        {"FIFO",
         [](const fs::path& dir) {
             ASSERT_EQ(::mkfifo((dir / "history.jsonl").c_str(), 0600), 0);
         }},
        {"FIFO as the older part",
         [](const fs::path& dir) {
             ASSERT_EQ(::mkfifo((dir / "history.jsonl.1").c_str(), 0600), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempLogDir log;
        std::ofstream(log.dir() / "target") << "target\n";
        c.make(log.dir());
        const std::wstring path = (log.dir() / "history.jsonl").wstring();

        const bool written = AppendRunRecord(path, RunRecord{.time = "2026-12-09T10:59:06Z",
                                                             .program = "viruzu-fwup-cli",
                                                             .command = "check",
                                                             .result = "not-connected"});
        const HistoryReading reading = ReadRunHistory(path);

        std::ifstream target(log.dir() / "target");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(target), {}), "target\n");
        EXPECT_TRUE(reading.found);
        const bool olderPart = fs::is_fifo(log.dir() / "history.jsonl.1");
        EXPECT_EQ(written, olderPart);
        EXPECT_EQ(reading.records.size(), olderPart ? 1u : 0u);
        EXPECT_EQ(reading.notes,
                  std::vector<std::string>{
                      (olderPart ? fs::path(path).string() + ".1" : fs::path(path).string()) +
                      ": not a regular file, skipped"});
        if (!olderPart) {
            EXPECT_EQ(log.Messages(),
                      std::vector<std::string>{"The run is not in the history: " +
                                               fs::path(path).string() + " cannot be written"});
        }
    }
}

}  // namespace
}  // namespace fwup
