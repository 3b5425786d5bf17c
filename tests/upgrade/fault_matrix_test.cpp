// Every fault the simulated printer can inject, at every stage of an upgrade run where it can act:
// the status query, the version query, the security record, and the first, a middle and the last
// block of the package transfer. Each cell runs a whole upgrade and checks what the user is told,
// the look the window is left in, the tool log, the printer's channel, and the clock time the run
// took. Only a run in which the whole package arrived may end in the success look.
//
// Where a fault cannot reach a stage the cell is left out, with the reason next to its row.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "device/channel.h"
#include "emulation/sim_interface_source.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_test_support.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/message_dialog.h"
#include "ui/window_front_end.h"
#include "upgrade/upgrade_procedure.h"
#include "upgrade/upgrade_run_fixture.h"

namespace fwup {
namespace {

using testing::EmbeddedPackage;
using testing::FirmwareJobOf;
using testing::Look;
using testing::UpgradeRunTest;

// Bytes of the jobs that come before the package: the offsets of write faults count them too.
constexpr std::uint64_t kStatusJobBytes = 59;
constexpr std::uint64_t kVersionJobBytes = 99;
constexpr std::uint64_t kPackageStart = kStatusJobBytes + kVersionJobBytes;

// No cell may take longer than this on the clock: the worst is a printer that never answers the
// status query (one 60-second bound) or answers both queries late, plus the 20-second wait for
// flashing.
constexpr std::int64_t kRunBoundMs = 6 * 60 * 1000;

// Where a byte offset points. The transfer writes the package in blocks of kMaxWriteBytes.
enum class At {
    kNowhere,      // the fault takes no offset
    kStatusJob,    // offset within the status job
    kVersionJob,   // offset within the version job
    kFirstBlock,   // offset within the package's first block
    kMiddleBlock,  // offset within the block in the middle of the package
    kLastBlock,    // offset within the package's last block
    kPackageEnd,   // offset from the end of the package (the byte after its last)
};

// The printer's firmware: older than the package's (the package goes out at once) or newer (after
// the full check, followed by the wait for flashing). Neither asks the user a question.
constexpr const char* kOlderVersion = "V2.10.8";
constexpr const char* kNewerVersion = "V2.11.0";

// What the run ends in, as the user sees it.
enum class Ending {
    kNotReady,                // status query failed: "not ready", no transfer
    kVersionFails,            // version query failed: failed look, no transfer
    kRefused,                 // security record unusable: message, back to Ready for another try
    kTransferFails,           // the package was cut off: failed look and the -12 lines
    kSucceeded,               // the whole package arrived: success look
    kSucceededWithoutRecord,  // no security record: the plain package, success look
};

struct FaultCell {
    const char* name = "";
    const char* faults = "{}";  // the "faults" object; every '@' is replaced by the offset
    At at = At::kNowhere;
    std::int64_t delta = 0;  // added to the start of the place `at` names
    Ending ending = Ending::kSucceeded;
    const char* version = kOlderVersion;
    std::int64_t minElapsedMs = 0;         // a wait the run must sit out before it gives up
    std::uint64_t linkBytesPerSecond = 0;  // as in `faults`: every byte costs its share of time
    std::size_t versionTextLength = 7;     // with kVersionFails: below 7 the log says so
};

std::ostream& operator<<(std::ostream& out, const FaultCell& cell) {
    return out << cell.name;
}

// The log lines of a run that reaches the package with a valid record asking for no encryption.
const std::vector<std::string> kBurnStart = {"CRC is valid, crcCalc: 0x2d84",
                                             "response.security: 0x0", "FW is not encrypted",
                                             "Will burn FW which is not encrypted"};

std::vector<std::string> Plus(std::vector<std::string> lines,
                              const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

class FaultMatrix : public UpgradeRunTest, public ::testing::WithParamInterface<FaultCell> {
  protected:
    // The byte offset a cell names, from the size of the package the printer is sent.
    static std::uint64_t Offset(At at, std::int64_t delta, std::uint64_t packageBytes) {
        const std::uint64_t blocks = (packageBytes + kMaxWriteBytes - 1) / kMaxWriteBytes;
        std::uint64_t base = 0;
        switch (at) {
            case At::kNowhere:
            case At::kStatusJob:
                base = 0;
                break;
            case At::kVersionJob:
                base = kStatusJobBytes;
                break;
            case At::kFirstBlock:
                base = kPackageStart;
                break;
            case At::kMiddleBlock:
                base = kPackageStart + (blocks / 2) * kMaxWriteBytes;
                break;
            case At::kLastBlock:
                base = kPackageStart + (blocks - 1) * kMaxWriteBytes;
                break;
            case At::kPackageEnd:
                base = kPackageStart + packageBytes;
                break;
        }
        return static_cast<std::uint64_t>(static_cast<std::int64_t>(base) + delta);
    }

    static std::string WithOffset(std::string faults, std::uint64_t offset) {
        for (std::size_t at; (at = faults.find('@')) != std::string::npos;) {
            faults.replace(at, 1, std::to_string(offset));
        }
        return faults;
    }
};

TEST_P(FaultMatrix, EndsAsTheFaultAllowsAndLeavesNothingBehind) {
    const FaultCell& cell = GetParam();
    const std::span<const std::uint8_t> package = EmbeddedPackage(kPackagePlainId);
    ASSERT_GE(package.size(), 3 * kMaxWriteBytes / 2)
        << "the package must span a first, a middle and a last block";
    const std::uint64_t offset = Offset(cell.at, cell.delta, package.size());
    AttachJson(R"({"printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001", "portNumber": 1,)"
               R"( "version": ")" +
               std::string(cell.version) + R"(", "faults": )" + WithOffset(cell.faults, offset) +
               "}]}");
    ASSERT_NE(Printer(), nullptr);
    const bool newer = std::string(cell.version) == kNewerVersion;

    std::vector<int> messages;
    if (cell.ending == Ending::kRefused) {
        messages.push_back(TXT_FW_UNRECOGNIZED);
    }
    for (std::size_t i = 0; i < messages.size(); ++i) {
        Answer(kIdOk);
    }
    CVevaVoRirizevDlg& window = Open();
    notices_.lines.clear();

    EXPECT_EQ(UpgradeThreadProc(&window, AfterTransfer::kEndRun), 0) << "the run returns";

    // What the user was told.
    ASSERT_EQ(factory_.finished.size(), messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(factory_.finished[i].controls.at(kIdMessageText).text, GetLangText(messages[i]));
    }
    auto noticed = [this](const std::wstring& line) {
        return std::find(notices_.lines.begin(), notices_.lines.end(),
                         L"Tool show NOTICE\uFF1A" + line) != notices_.lines.end();
    };

    // The look, the log and what the printer took, by ending.
    const std::vector<JobKind> queries = {JobKind::kStatus, JobKind::kVersion};
    const std::vector<JobKind> everything = {JobKind::kStatus, JobKind::kVersion,
                                             JobKind::kFirmware};
    std::vector<JobKind> jobs;
    for (const ReceivedJob& job : Printer()->Jobs()) {
        jobs.push_back(job.kind);
    }
    switch (cell.ending) {
        case Ending::kNotReady:
            ExpectLook(Look::kNotReady);
            EXPECT_TRUE(noticed(L"Checking printer status failed,Error code:5\n"));
            EXPECT_EQ(log_.Messages(), std::vector<std::string>{});
            EXPECT_LE(jobs.size(), 1u) << "nothing after the status job";
            break;
        case Ending::kVersionFails:
            ExpectLook(Look::kFailed);
            if (cell.versionTextLength < 7) {
                EXPECT_EQ(log_.Messages(),
                          std::vector<std::string>{
                              "The printer's version reply holds " +
                              std::to_string(cell.versionTextLength) +
                              " characters of text, too few to compare; the version query failed"});
            } else {
                EXPECT_EQ(log_.Messages(), std::vector<std::string>{});
            }
            EXPECT_TRUE(std::find(jobs.begin(), jobs.end(), JobKind::kFirmware) == jobs.end());
            break;
        case Ending::kRefused:
            ExpectLook(Look::kReady);
            EXPECT_EQ(log_.Messages(), std::vector<std::string>{"CRC is invalid"});
            EXPECT_EQ(jobs, queries);
            break;
        case Ending::kTransferFails:
            ExpectLook(Look::kFailed);
            EXPECT_EQ(log_.Messages(), Plus(kBurnStart, {"DownloadFW failed, Err Code:     -12!",
                                                         "Send Elf failed, Error Code:-12!"}));
            EXPECT_TRUE(noticed(L"Send Elf failed, Error Code:-12!"));
            EXPECT_EQ(jobs, queries) << "the package never arrives whole";
            EXPECT_LT(Printer()->BytesReceived(), kPackageStart + package.size());
            break;
        case Ending::kSucceeded:
        case Ending::kSucceededWithoutRecord:
            ExpectLook(Look::kSucceeded);
            EXPECT_EQ(log_.Messages(),
                      Plus(cell.ending == Ending::kSucceeded
                               ? kBurnStart
                               : std::vector<std::string>{"Will burn FW which is not encrypted"},
                           {"ELF is running..."}));
            ASSERT_EQ(jobs, everything);
            EXPECT_EQ(Printer()->Jobs().back(), FirmwareJobOf(package))
                << "success only with the whole package, in order";
            break;
    }
    if (cell.ending != Ending::kSucceeded && cell.ending != Ending::kSucceededWithoutRecord) {
        EXPECT_NE(C(kIdResult).text, GetLangText(TXT_SUCCEEDED));
        EXPECT_NE(C(kIdResultPicture).image, kIdbSucceeded);
    }
    // A package sent after a full check is followed by the wait for flashing, whatever came of it.
    const bool sent = cell.ending == Ending::kTransferFails || cell.ending == Ending::kSucceeded ||
                      cell.ending == Ending::kSucceededWithoutRecord;
    EXPECT_EQ(clock_.flashWaits, sent && newer ? 1 : 0);

    // Nothing left behind: every channel closed, the run flag down, the window unlocked.
    EXPECT_FALSE(Printer()->channelOpen());
    int opens = 0;
    int closes = 0;
    for (const SimEvent& event : Printer()->Events()) {
        opens += event.kind == SimEventKind::kOpen ? 1 : 0;
        closes += event.kind == SimEventKind::kClose ? 1 : 0;
        EXPECT_NE(event.kind, SimEventKind::kOpenRefused) << "a channel was left open";
    }
    EXPECT_EQ(opens, closes);
    EXPECT_EQ(Printer()->DroppedEvents(), 0u);
    EXPECT_FALSE(bUpgrading.load());
    EXPECT_TRUE(surface_.closeItemPresent);
    EXPECT_TRUE(C(kIdExit).enabled || C(kIdStart).enabled);

    // Within its bounds on the clock.
    EXPECT_LT(clock_.ElapsedMs(), kRunBoundMs);
    EXPECT_GE(clock_.ElapsedMs(), cell.minElapsedMs);
    if (cell.linkBytesPerSecond != 0) {
        EXPECT_GE(static_cast<std::uint64_t>(clock_.ElapsedMs()),
                  Printer()->BytesReceived() * 1000 / cell.linkBytesPerSecond);
    }
}

// Offsets: a status job takes bytes 0-58, the version job 59-157; the package follows.
INSTANTIATE_TEST_SUITE_P(
    Faults, FaultMatrix,
    ::testing::Values(
        FaultCell{.name = "NoFault", .ending = Ending::kSucceeded},
        FaultCell{
            .name = "NoFaultNewerPrinter", .ending = Ending::kSucceeded, .version = kNewerVersion},

        // Short writes. The cap holds for every write, so it meets the first write longer than
        // itself: the status job's language line (25 bytes), the version frame with its text
        // (56 bytes), or only the package's blocks, which the transfer resumes where the
        // printer stopped.
        FaultCell{.name = "maxWriteBytesAtStatus",
                  .faults = R"({"maxWriteBytes": 24})",
                  .ending = Ending::kNotReady},
        FaultCell{.name = "maxWriteBytesAtVersion",
                  .faults = R"({"maxWriteBytes": 55})",
                  .ending = Ending::kVersionFails},
        FaultCell{.name = "maxWriteBytesAtTransfer",
                  .faults = R"({"maxWriteBytes": 65536})",
                  .ending = Ending::kSucceeded},
        FaultCell{.name = "maxWriteBytesOddAtTransfer",
                  .faults = R"({"maxWriteBytes": 99991})",
                  .ending = Ending::kSucceeded},
        FaultCell{.name = "maxWriteBytesOneShortOfABlockAtTransfer",
                  .faults = R"({"maxWriteBytes": 262143})",
                  .ending = Ending::kSucceeded,
                  .version = kNewerVersion},

        // A write that takes nothing. The security record is read with a vendor request, not
        // written, so it has no write to fault.
        FaultCell{.name = "zeroWriteAtStatus",
                  .faults = R"({"zeroWriteAtByte": @})",
                  .at = At::kStatusJob,
                  .delta = 20,
                  .ending = Ending::kNotReady},
        FaultCell{.name = "zeroWriteAtVersion",
                  .faults = R"({"zeroWriteAtByte": @})",
                  .at = At::kVersionJob,
                  .delta = 60,
                  .ending = Ending::kVersionFails},
        FaultCell{.name = "zeroWriteAtFirstBlock",
                  .faults = R"({"zeroWriteAtByte": @})",
                  .at = At::kFirstBlock,
                  .delta = 0,
                  .ending = Ending::kTransferFails},
        FaultCell{.name = "zeroWriteAtMiddleBlock",
                  .faults = R"({"zeroWriteAtByte": @})",
                  .at = At::kMiddleBlock,
                  .delta = 1000,
                  .ending = Ending::kTransferFails},
        FaultCell{.name = "zeroWriteAtLastBlock",
                  .faults = R"({"zeroWriteAtByte": @})",
                  .at = At::kPackageEnd,
                  .delta = -1,
                  .ending = Ending::kTransferFails},
        FaultCell{.name = "zeroWriteAtMiddleBlockNewerPrinter",
                  .faults = R"({"zeroWriteAtByte": @})",
                  .at = At::kMiddleBlock,
                  .delta = 7,
                  .ending = Ending::kTransferFails,
                  .version = kNewerVersion},
        FaultCell{.name = "zeroWriteAfterThePackage",
                  .faults = R"({"zeroWriteAtByte": @})",
                  .at = At::kPackageEnd,
                  .delta = 0,
                  .ending = Ending::kSucceeded},

        // The printer pulled at an offset.
        FaultCell{.name = "unplugAtStatus",
                  .faults = R"({"unplugAtByte": @})",
                  .at = At::kStatusJob,
                  .delta = 40,
                  .ending = Ending::kNotReady},
        FaultCell{.name = "unplugAtStatusLastByte",
                  .faults = R"({"unplugAtByte": @})",
                  .at = At::kStatusJob,
                  .delta = 58,
                  .ending = Ending::kNotReady},
        // The status job went in whole and was answered; the version job's first write fails.
        FaultCell{.name = "unplugBetweenStatusAndVersion",
                  .faults = R"({"unplugAtByte": @})",
                  .at = At::kVersionJob,
                  .delta = 0,
                  .ending = Ending::kVersionFails},
        FaultCell{.name = "unplugAtVersion",
                  .faults = R"({"unplugAtByte": @})",
                  .at = At::kVersionJob,
                  .delta = 50,
                  .ending = Ending::kVersionFails},
        FaultCell{.name = "unplugAtFirstBlock",
                  .faults = R"({"unplugAtByte": @})",
                  .at = At::kFirstBlock,
                  .delta = 0,
                  .ending = Ending::kTransferFails},
        FaultCell{.name = "unplugAtMiddleBlock",
                  .faults = R"({"unplugAtByte": @})",
                  .at = At::kMiddleBlock,
                  .delta = 12345,
                  .ending = Ending::kTransferFails},
        FaultCell{.name = "unplugAtLastBlock",
                  .faults = R"({"unplugAtByte": @})",
                  .at = At::kPackageEnd,
                  .delta = -1,
                  .ending = Ending::kTransferFails},
        FaultCell{.name = "unplugAtLastBlockNewerPrinter",
                  .faults = R"({"unplugAtByte": @})",
                  .at = At::kLastBlock,
                  .delta = 1,
                  .ending = Ending::kTransferFails,
                  .version = kNewerVersion},
        FaultCell{.name = "unplugAtLastBlockShortWrites",
                  .faults = R"({"unplugAtByte": @, "maxWriteBytes": 4096})",
                  .at = At::kPackageEnd,
                  .delta = -1,
                  .ending = Ending::kTransferFails},
        // Pulled the moment the last byte is in: the package arrived whole.
        FaultCell{.name = "unplugAfterThePackage",
                  .faults = R"({"unplugAtByte": @})",
                  .at = At::kPackageEnd,
                  .delta = 0,
                  .ending = Ending::kSucceeded},

        // A slow link costs clock time on every write, queries and package alike; nothing waits
        // on it, so it only delays the end.
        FaultCell{.name = "slowLinkAtEveryStage",
                  .faults = R"({"linkBytesPerSecond": 20000})",
                  .ending = Ending::kSucceeded,
                  .linkBytesPerSecond = 20000},

        // Failed writes and reads count from the printer's first, so any count lands on the
        // status query, which gives up at its first failure: the count cannot select a later
        // stage in one run. A large count shows the run still stops there, once.
        FaultCell{.name = "failWritesAtStatus",
                  .faults = R"({"failWrites": 1})",
                  .ending = Ending::kNotReady},
        FaultCell{.name = "failWritesManyAtStatus",
                  .faults = R"({"failWrites": 1000000})",
                  .ending = Ending::kNotReady},
        FaultCell{.name = "failReadsAtStatus",
                  .faults = R"({"failReads": 1})",
                  .ending = Ending::kNotReady},
        FaultCell{.name = "failReadsManyAtStatus",
                  .faults = R"({"failReads": 1000000})",
                  .ending = Ending::kNotReady},

        // Silent replies. Every reply is held back alike, so a silence the status query
        // outlasts the version query outlasts too; the transfer reads nothing.
        FaultCell{.name = "silentReadLateAtStatusAndVersion",
                  .faults = R"({"silentReadSeconds": 30})",
                  .ending = Ending::kSucceeded,
                  .minElapsedMs = 2 * 30 * 1000},
        FaultCell{.name = "silentReadPastTheBoundAtStatus",
                  .faults = R"({"silentReadSeconds": 90})",
                  .ending = Ending::kNotReady,
                  .minElapsedMs = 60 * 1000},
        FaultCell{.name = "silentReadForeverAtStatus",
                  .faults = R"({"silentReadSeconds": 86400})",
                  .ending = Ending::kNotReady,
                  .minElapsedMs = 60 * 1000},

        // Replies in pieces: both queries put them together. The transfer has no reply.
        FaultCell{.name = "replyPieceOneByteAtStatusAndVersion",
                  .faults = R"({"replyPieceBytes": 1})",
                  .ending = Ending::kSucceeded},
        FaultCell{.name = "replyPieceSevenBytesAtStatusAndVersion",
                  .faults = R"({"replyPieceBytes": 7})",
                  .ending = Ending::kSucceeded},
        FaultCell{.name = "replyPieceWithSilenceAtStatusAndVersion",
                  .faults = R"({"replyPieceBytes": 3, "silentReadSeconds": 5})",
                  .ending = Ending::kSucceeded},

        // A wrong header in every reply. The status query checks it and stops the run; the
        // version query never sees one.
        FaultCell{.name = "replyPrefixAtStatus",
                  .faults = R"({"replyPrefix": 173})",
                  .ending = Ending::kNotReady},
        // The version query's own cmdID, answered to the status query.
        FaultCell{.name = "replyCmdIdAtStatus",
                  .faults = R"({"replyCmdId": 65313})",
                  .ending = Ending::kNotReady},
        // The cmdStatus word is not looked at.
        FaultCell{.name = "replyCmdStatusAtStatusAndVersion",
                  .faults = R"({"replyCmdStatus": 65535})",
                  .ending = Ending::kSucceeded},

        // The version reply's length beyond the host's 100-byte data area: the reply is still
        // read whole and its first bytes compared.
        FaultCell{.name = "versionLength101AtVersion",
                  .faults = R"({"versionLength": 101})",
                  .ending = Ending::kSucceeded},
        FaultCell{.name = "versionLength4096AtVersion",
                  .faults = R"({"versionLength": 4096})",
                  .ending = Ending::kSucceeded},
        // A reply whose text ends before the characters compared is no version: the zeros
        // behind it would read as a newer printer and send without asking.
        FaultCell{.name = "versionLength0AtVersion",
                  .faults = R"({"versionLength": 0})",
                  .ending = Ending::kVersionFails,
                  .versionTextLength = 0},
        FaultCell{.name = "versionLength6AtVersion",
                  .faults = R"({"versionLength": 6})",
                  .ending = Ending::kVersionFails,
                  .versionTextLength = 6},
        FaultCell{.name = "versionTextEmptyAtVersion",
                  .ending = Ending::kVersionFails,
                  .version = "",
                  .versionTextLength = 0},
        FaultCell{.name = "versionTextEndsBeforeMinorAtVersion",
                  .ending = Ending::kVersionFails,
                  .version = "V2.10.",
                  .versionTextLength = 6},
        // The header comes and its data never does: every attempt waits out its bound.
        FaultCell{.name = "versionDataWithheldAtVersion",
                  .faults = R"({"versionDataWithheld": true})",
                  .ending = Ending::kVersionFails,
                  .minElapsedMs = 5 * 60 * 1000},
        FaultCell{.name = "versionLength65535InPiecesAtVersion",
                  .faults = R"({"versionLength": 65535, "replyPieceBytes": 4096})",
                  .ending = Ending::kSucceeded},

        // The security record.
        FaultCell{.name = "badCrcAtSecurity",
                  .faults = R"({"badCrc": true})",
                  .ending = Ending::kRefused},
        FaultCell{.name = "badCrcAtSecurityNewerPrinter",
                  .faults = R"({"badCrc": true})",
                  .ending = Ending::kRefused,
                  .version = kNewerVersion},
        FaultCell{.name = "vendorError234AtSecurity",
                  .faults = R"({"vendorError": 234})",
                  .ending = Ending::kSucceeded},
        FaultCell{.name = "vendorError122AtSecurity",
                  .faults = R"({"vendorError": 122})",
                  .ending = Ending::kSucceeded},
        // The retry gets the record, and it is checked like the first.
        FaultCell{.name = "vendorError234ThenBadCrcAtSecurity",
                  .faults = R"({"vendorError": 234, "badCrc": true})",
                  .ending = Ending::kRefused},
        FaultCell{.name = "vendorError122ThenNothingAtSecurity",
                  .faults = R"({"vendorError": 122, "vendorReturnsNothing": true})",
                  .ending = Ending::kSucceededWithoutRecord},
        FaultCell{.name = "vendorError31AtSecurity",
                  .faults = R"({"vendorError": 31})",
                  .ending = Ending::kSucceededWithoutRecord},
        FaultCell{.name = "vendorReturnsNothingAtSecurity",
                  .faults = R"({"vendorReturnsNothing": true})",
                  .ending = Ending::kSucceededWithoutRecord}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fwup
