// The run history: the record's line both ways and only as the published schema has it, the
// file's rotation (also with writers in several processes), bounded reading of damaged files, a
// place that cannot be written, and the simulated printers' history of their own.

#include "upgrade/run_history.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/cli/exit_codes.h"
#include "app/common/program_services.h"
#include "base/wide_text.h"
#include "device/simulated_printers.h"
#include "fakes/temp_log_dir.h"
#include "upgrade/run_record.h"
#include "upgrade/writer_processes.h"

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
    const RunRecord bare{.time = "2026-12-09T10:59:06Z",
                         .program = "viruzu-fwup",
                         .command = "upgrade",
                         .result = "not-connected"};
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
    for (const std::string& line : std::vector<std::string>{
             "", "{", "[]", "null", "42", whole.substr(0, whole.size() / 2),
             with(R"("result":"succeeded",)", ""),  // a member missing
             with(R"("result":"succeeded")", R"("result":"")"),
             with(R"("bytesSent":600059)", R"("bytesSent":-1)"),
             with(R"("bytesSent":600059)", R"("bytesSent":"600059")"),
             with(R"("package":3000)", R"("package":"3000")"),
             with(R"("time":"2026-12-09T10:59:06Z")", R"("time":17)"),
             with(R"("port":"USB001")", R"("port":1)"), whole + "}",
             // Well-formed, but no run writes these values.
             with(R"("package":3000)", R"("package":42)"),
             with(R"("firmware":"older")", R"("firmware":"sideways")"),
             with(R"("command":"upgrade")", R"("command":"list")"),
             with(R"("program":"viruzu-fwup-cli")", R"("program":"fwup")"),
             with(R"("result":"succeeded")", R"("result":"summary")"),
             with(R"("versionAfter":"same")", R"("versionAfter":"")"),
             with(R"("time":"2026-12-09T10:59:06Z")", R"("time":"damaged")"),
             with(R"("bytesSent":600059)", R"("bytesSent":600059.5)"),
             // A member no run writes, or a simulated marker that is not one.
             with(R"("result")", R"("note":1,"result")"),
             with(R"("versionAfter":"same")", R"("versionAfter":"same","simulated":false)"),
             with(R"("versionAfter":"same")", R"("versionAfter":"same","simulated":"yes")")}) {
        EXPECT_FALSE(ParseRunRecordLine(line)) << line;
    }
}

TEST(RunRecordLine, ASimulatedRunIsMarkedAndReadsBackMarked) {
    RunRecord simulated = FullRecord();
    simulated.simulated = true;
    std::string line = RunRecordLine(simulated);
    EXPECT_TRUE(line.ends_with(R"("versionAfter":"same","simulated":true})"
                               "\n"))
        << line;
    line.pop_back();
    EXPECT_EQ(ParseRunRecordLine(line), simulated);
    EXPECT_EQ(RunRecordLine(FullRecord()).find("simulated"), std::string::npos);
}

// The members of a record as the schema allows them: each value of a closed set, read from the
// schema itself, so that the reader and the published schema cannot drift apart.
std::optional<std::vector<nlohmann::json>> AllowedValues(const nlohmann::json& schema,
                                                         const nlohmann::json& node) {
    if (node.contains("$ref")) {
        const std::string ref = node["$ref"];
        return AllowedValues(schema, schema.at(nlohmann::json::json_pointer(ref.substr(1))));
    }
    if (node.contains("enum")) {
        return node["enum"].get<std::vector<nlohmann::json>>();
    }
    if (node.contains("const")) {
        return std::vector<nlohmann::json>{node["const"]};
    }
    if (node.contains("type") && node["type"] == "null") {
        return std::vector<nlohmann::json>{nullptr};
    }
    if (node.contains("oneOf")) {
        std::vector<nlohmann::json> all;
        for (const nlohmann::json& choice : node["oneOf"]) {
            const auto values = AllowedValues(schema, choice);
            if (!values) {
                return std::nullopt;
            }
            all.insert(all.end(), values->begin(), values->end());
        }
        return all;
    }
    return std::nullopt;
}

TEST(ParseRunRecordLine, TakesWhatThePublishedSchemaAllowsAndNothingElse) {
    std::ifstream in(FWUP_SCHEMA_FILE);
    ASSERT_TRUE(in) << FWUP_SCHEMA_FILE;
    const nlohmann::json schema = nlohmann::json::parse(in);
    const nlohmann::json& record = schema["$defs"]["record"];
    std::string whole = RunRecordLine(FullRecord());
    whole.pop_back();
    const auto with = [&whole](const std::string& member, const nlohmann::json& value) {
        nlohmann::ordered_json object = nlohmann::ordered_json::parse(whole);
        object[member] = value;
        return object.dump();
    };
    for (const auto& [member, rule] : record["properties"].items()) {
        SCOPED_TRACE(member);
        if (const auto values = AllowedValues(schema, rule)) {
            for (const nlohmann::json& value : *values) {
                EXPECT_TRUE(ParseRunRecordLine(with(member, value))) << value;
            }
            EXPECT_FALSE(ParseRunRecordLine(with(member, "sideways")));
            EXPECT_FALSE(ParseRunRecordLine(with(member, 42)));
        }
    }
    for (const nlohmann::json& required : record["required"]) {
        nlohmann::ordered_json object = nlohmann::ordered_json::parse(whole);
        object.erase(required.get<std::string>());
        EXPECT_FALSE(ParseRunRecordLine(object.dump())) << required;
    }
    EXPECT_FALSE(ParseRunRecordLine(with("note", "a member the schema does not name")));

    // The time as the schema's pattern has it, and as UtcTimeText writes it.
    const std::regex pattern(record["properties"]["time"]["pattern"].get<std::string>());
    for (const std::string& time :
         {UtcTimeText(0), UtcTimeText(1796813946), std::string("2026-12-31T23:59:59Z"),
          std::string("2026-13-09T10:59:06Z"), std::string("2026-12-00T10:59:06Z"),
          std::string("2026-12-09T24:00:00Z"), std::string("2026-12-09T10:60:06Z"),
          std::string("2026-12-09 10:59:06Z"), std::string("2026-12-09T10:59:06"),
          std::string("+2026-12-09T10:59:06Z"), std::string("2026-1a-09T10:59:06Z")}) {
        EXPECT_EQ(ParseRunRecordLine(with("time", time)).has_value(),
                  std::regex_match(time, pattern))
            << time;
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

// Sets an environment variable for one test and removes it afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        Set(value);
    }
    ~ScopedVariable() { Set(std::nullopt); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    void Set(const std::optional<std::string>& value) {
#ifdef _WIN32
        _putenv_s(name_, value ? value->c_str() : "");
#else
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
#endif
    }
    const char* name_;
};

// A simulated run's record lands in the simulated history, never among real printers' records,
// marked; `history` reads the simulated one while the printers are simulated.
TEST_F(RunHistoryFile, ASimulatedRunHasAHistoryOfItsOwn) {
    const std::string folder = (log_.dir() / "named").string();
    std::filesystem::create_directories(folder);
    struct Case {
        const char* name;
        std::optional<std::string> emulate;   // VIRUZU_FWUP_EMULATE
        std::optional<std::string> scenario;  // the program wired with a scenario
        std::optional<std::string> folder;    // VIRUZU_FWUP_HISTORY_DIR
        std::filesystem::path history;        // where the record goes and `history` reads
    } const cases[] = {
        {"real printers", std::nullopt, std::nullopt, std::nullopt, file()},
        {"a folder named for real printers is not taken", std::nullopt, std::nullopt, folder,
         file()},
        {"simulated", "printers.json", "printers.json", std::nullopt,
         log_.dir() / "history-simulated.jsonl"},
        {"simulated, wired only", std::nullopt, "printers.json", std::nullopt,
         log_.dir() / "history-simulated.jsonl"},
        {"simulated, a folder named", "printers.json", "printers.json", folder,
         std::filesystem::path(folder) / "history.jsonl"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedVariable emulate("VIRUZU_FWUP_EMULATE", c.emulate);
        const ScopedVariable named("VIRUZU_FWUP_HISTORY_DIR", c.folder);
        const std::optional<std::wstring> before = SetSimulatedPrintersScenario(
            c.scenario ? std::optional<std::wstring>(FromUtf8(*c.scenario)) : std::nullopt);
        RunRecord record = FullRecord();
        StampRunRecord(record, "viruzu-fwup-cli", "upgrade");
        EXPECT_EQ(record.simulated, c.scenario.has_value());
        EXPECT_TRUE(RecordRun(record));
        EXPECT_EQ(RunHistoryPath(), c.history.wstring());
        const HistoryReading reading = ReadRunHistory(c.history.wstring());
        ASSERT_EQ(reading.records.size(), 1u);
        EXPECT_EQ(reading.records[0].simulated, c.scenario.has_value());
        std::filesystem::remove(c.history);
        SetSimulatedPrintersScenario(before);
    }
    EXPECT_FALSE(std::filesystem::exists(file()));
}

// One writer's record; all are of one length, so that the rotation size counts lines.
RunRecord WriterRecord(int writer, int index) {
    RunRecord record = FullRecord();
    char port[32];
    std::snprintf(port, sizeof port, "W%02d-%04d", writer, index);
    record.port = port;
    return record;
}

struct WriterTask {
    std::string path;
    int writer = 0;
    int records = 0;
    std::uintmax_t rotateBytes = 0;
};

std::optional<WriterTask> ParseWriterTask(const std::string& text) {
    std::istringstream in(text);
    WriterTask task;
    if (!std::getline(in, task.path, '\t') ||
        !(in >> task.writer >> task.records >> task.rotateBytes)) {
        return std::nullopt;
    }
    return task;
}

bool AppendWriterShare(const std::string& text) {
    const std::optional<WriterTask> task = ParseWriterTask(text);
    if (!task) {
        return false;
    }
    bool all = true;
    for (int i = 0; i < task->records; ++i) {
        all = AppendRunRecord(FromUtf8(task->path), WriterRecord(task->writer, i),
                              task->rotateBytes) &&
              all;
    }
    return all;
}

// The writer processes' side on Windows, where they are this binary started again.
TEST(RunHistoryWriter, AppendsItsShareWhenStartedAsAWriter) {
    EXPECT_TRUE(testing::RunWriterTaskIfStarted(AppendWriterShare));
}

// Runs ending at once in several processes, with one rotation among their appends: every record
// is kept exactly once and whole. Remove-then-rename without a lock lost the part just rotated.
TEST_F(RunHistoryFile, WritersInSeveralProcessesLoseNoRecordAcrossARotation) {
    constexpr int kWriters = 8;
    // The race is at a round's one rotation: the rounds give it many chances. Under Wine each
    // writer is a program started, so there are fewer, and the shipped size, whose rotation is
    // the same, is left to the other platforms.
#ifdef _WIN32
    constexpr int kFewerRounds = 10;
    constexpr int kShippedSizeRounds = 0;
#else
    constexpr int kFewerRounds = 1;
    constexpr int kShippedSizeRounds = 1;
#endif
    struct Shape {
        const char* name;
        int each;                    // records per writer
        int fitBefore;               // of theirs, how many fit before the file moves
        std::uintmax_t rotateBytes;  // 0: as many lines as the writers write
        int rounds;
    } const shapes[] = {
        // They all meet at the rotation.
        {"at a small size", 4, 1, 0, 20 / kFewerRounds},
        // A few rounds of them pass before it, many after.
        {"at the shipped size", 50, kWriters * 3, kHistoryRotateBytes, kShippedSizeRounds},
    };
    // All records are of one length, so that the rotation size counts lines.
    const std::size_t lineBytes = RunRecordLine(WriterRecord(0, 0)).size();
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        const std::uintmax_t rotateBytes =
            shape.rotateBytes != 0 ? shape.rotateBytes : lineBytes * kWriters * shape.each;
        const std::size_t earlierLines = rotateBytes / lineBytes - shape.fitBefore;
        // What comes after the rotation fits in the new file: the rotation is the only one.
        ASSERT_LE((kWriters * shape.each - shape.fitBefore) * lineBytes, rotateBytes);
        std::string earlier;
        for (std::size_t i = 0; i < earlierLines; ++i) {
            earlier += RunRecordLine(WriterRecord(kWriters, static_cast<int>(i)));
        }
        std::vector<std::string> tasks;
        for (int writer = 0; writer < kWriters; ++writer) {
            tasks.push_back(ToUtf8(file().wstring()) + "\t" + std::to_string(writer) + " " +
                            std::to_string(shape.each) + " " + std::to_string(rotateBytes));
        }
        for (int round = 0; round < shape.rounds; ++round) {
            SCOPED_TRACE(round);
            std::filesystem::remove(older());
            Write(file(), earlier);

            const std::vector<int> codes = testing::RunInWriterProcesses(
                tasks, AppendWriterShare, "RunHistoryWriter.AppendsItsShareWhenStartedAsAWriter");

            EXPECT_EQ(codes, std::vector<int>(kWriters, 0));
            EXPECT_TRUE(std::filesystem::exists(older()));
            const HistoryReading reading = ReadRunHistory(file().wstring());
            EXPECT_EQ(reading.notes, std::vector<std::string>{});
            std::set<std::string> ports;
            for (const RunRecord& record : reading.records) {
                ports.insert(record.port.value_or(""));
            }
            const std::size_t all = earlierLines + kWriters * shape.each;
            EXPECT_EQ(reading.records.size(), all);
            EXPECT_EQ(ports.size(), all);
        }
    }
}

}  // namespace
}  // namespace fwup
