// The run history: the record's line both ways, the file's rotation, bounded reading of damaged
// files, and a place that cannot be written.

#include "upgrade/run_history.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/cli/exit_codes.h"
#include "fakes/temp_log_dir.h"
#include "upgrade/run_record.h"

namespace fwup {
namespace {

RunRecord FullRecord() {
    return RunRecord{.time = "2026-12-09T10:59:06Z",
                     .computer = "desk-7",
                     .program = "viruzu-fwup-cli",
                     .programVersion = "0.1.0",
                     .command = "upgrade",
                     .instanceId = "USB\\VID_5A7C&PID_B101\\SER0001",
                     .model = "Viruzu \"TQ\" Series",
                     .port = "USB001",
                     .versionText = "V2.\x01\t8",
                     .firmware = "older",
                     .package = 3000,
                     .bytesSent = 600059,
                     .result = "succeeded",
                     .versionAfter = "same"};
}

TEST(RunRecordLine, IsOneEscapedLineThatReadsBackTheSame) {
    const RunRecord full = FullRecord();
    EXPECT_EQ(RunRecordLine(full),
              R"({"time":"2026-12-09T10:59:06Z","computer":"desk-7","program":"viruzu-fwup-cli",)"
              R"("programVersion":"0.1.0","command":"upgrade",)"
              R"("instanceId":"USB\\VID_5A7C&PID_B101\\SER0001","model":"Viruzu \"TQ\" Series",)"
              R"("port":"USB001","versionText":"V2.\u0001\t8","firmware":"older","package":3000,)"
              R"("bytesSent":600059,"result":"succeeded","versionAfter":"same"})"
              "\n");
    std::string line = RunRecordLine(full);
    line.pop_back();
    EXPECT_EQ(ParseRunRecordLine(line), full);

    // A run that never reached a printer: every printer member null, and still a record.
    const RunRecord bare{
        .time = "t", .program = "viruzu-fwup", .command = "upgrade", .result = "not-connected"};
    line = RunRecordLine(bare);
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    EXPECT_EQ(ParseRunRecordLine(line), bare);
}

TEST(RunRecordLine, TextThatIsNotUtf8IsKeptAsReplacementCharacters) {
    RunRecord record = FullRecord();
    record.model = "bad \xff\xfe";
    const std::optional<RunRecord> back = ParseRunRecordLine(RunRecordLine(record));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->model, "bad \xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(ParseRunRecordLine, RefusesWhatIsNotOneWholeRecord) {
    std::string whole = RunRecordLine(FullRecord());
    whole.pop_back();
    const auto with = [&whole](const std::string& from, const std::string& to) {
        std::string changed = whole;
        changed.replace(changed.find(from), from.size(), to);
        return changed;
    };
    for (const std::string& line :
         std::vector<std::string>{"", "{", "[]", "null", "42", whole.substr(0, whole.size() / 2),
                                  with(R"("result":"succeeded",)", ""),  // a member missing
                                  with(R"("result":"succeeded")", R"("result":"")"),
                                  with(R"("bytesSent":600059)", R"("bytesSent":-1)"),
                                  with(R"("bytesSent":600059)", R"("bytesSent":"600059")"),
                                  with(R"("package":3000)", R"("package":"3000")"),
                                  with(R"("time":"2026-12-09T10:59:06Z")", R"("time":17)"),
                                  with(R"("port":"USB001")", R"("port":1)"), whole + "}"}) {
        EXPECT_FALSE(ParseRunRecordLine(line)) << line;
    }
}

TEST(UtcTimeText, IsIso8601InUtcAcrossTheCalendar) {
    EXPECT_EQ(UtcTimeText(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(UtcTimeText(-1), "1969-12-31T23:59:59Z");
    EXPECT_EQ(UtcTimeText(951782400), "2000-02-29T00:00:00Z");
    EXPECT_EQ(UtcTimeText(1796813946), "2026-12-09T10:59:06Z");
    EXPECT_EQ(UtcTimeText(253402300799), "9999-12-31T23:59:59Z");
}

// The window's words are the console program's, so one reader serves both programs' records.
TEST(OutcomeWord, IsTheConsoleProgramsResultWord) {
    for (int i = 0; i <= static_cast<int>(UpgradeOutcome::kInUse); ++i) {
        const auto outcome = static_cast<UpgradeOutcome>(i);
        EXPECT_STREQ(OutcomeWord(outcome), cli::ResultName(cli::ExitCodeFor(outcome))) << i;
    }
}

class RunHistoryFile : public ::testing::Test {
  protected:
    std::filesystem::path file() const { return log_.dir() / "history.jsonl"; }
    std::filesystem::path older() const { return log_.dir() / "history.jsonl.1"; }

    void Write(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    testing::TempLogDir log_;
};

TEST_F(RunHistoryFile, ReadsTheOlderPartFirstAndSkipsDamagedLinesWithANote) {
    RunRecord first = FullRecord();
    first.port = "USB001";
    RunRecord second = FullRecord();
    second.port = "USB002";
    RunRecord third = FullRecord();
    third.port = "USB003";
    const std::string tooLong = "{\"pad\":\"" + std::string(kMaxHistoryLineBytes, 'x') + "\"}\n";
    Write(older(), RunRecordLine(first) + "not json\n");
    Write(file(), "\n" + tooLong + RunRecordLine(second) + RunRecordLine(third) +
                      RunRecordLine(first).substr(0, 40));

    const HistoryReading reading = ReadRunHistory(file().wstring());

    EXPECT_TRUE(reading.found);
    ASSERT_EQ(reading.records.size(), 3u);
    EXPECT_EQ(reading.records[0], first);
    EXPECT_EQ(reading.records[1], second);
    EXPECT_EQ(reading.records[2], third);
    const std::string name = file().string();
    EXPECT_EQ(reading.notes, (std::vector<std::string>{
                                 name + ".1 line 2: not a record, skipped",
                                 name + " line 2: too long, skipped",
                                 name + " line 5: cut off, skipped",
                             }));
}

TEST_F(RunHistoryFile, AbsentIsNoRecordsAndNotFound) {
    const HistoryReading reading = ReadRunHistory(file().wstring());
    EXPECT_FALSE(reading.found);
    EXPECT_TRUE(reading.records.empty());
    EXPECT_TRUE(reading.notes.empty());
}

TEST_F(RunHistoryFile, RotatesToOneOlderFileBeforeGrowingPastOneMebibyte) {
    const std::string line = RunRecordLine(FullRecord());
    const std::size_t fits = kHistoryRotateBytes / line.size();
    std::string full;
    for (std::size_t i = 0; i < fits; ++i) {
        full += line;
    }
    Write(file(), full);
    Write(older(), "the oldest, dropped\n");

    ASSERT_TRUE(AppendRunRecord(file().wstring(), FullRecord()));

    EXPECT_EQ(std::filesystem::file_size(older()), full.size());
    EXPECT_EQ(std::filesystem::file_size(file()), line.size());
    EXPECT_EQ(ReadRunHistory(file().wstring()).records.size(), fits + 1);

    // Below the bound the file only grows.
    ASSERT_TRUE(AppendRunRecord(file().wstring(), FullRecord()));
    EXPECT_EQ(std::filesystem::file_size(file()), 2 * line.size());
    EXPECT_EQ(std::filesystem::file_size(older()), full.size());
}

TEST_F(RunHistoryFile, ARecordThatCannotBeWrittenIsOneToolLogLine) {
    Write(log_.dir() / "a-file", "");
    const std::wstring unwritable = (log_.dir() / "a-file" / "history.jsonl").wstring();

    EXPECT_FALSE(AppendRunRecord(unwritable, FullRecord()));
    EXPECT_FALSE(AppendRunRecord(L"", FullRecord()));

    EXPECT_EQ(log_.Messages(),
              (std::vector<std::string>{
                  "The run is not in the history: " +
                      (log_.dir() / "a-file" / "history.jsonl").string() + " cannot be written",
                  "The run is not in the history: there is no place to keep it"}));
}

}  // namespace
}  // namespace fwup
