#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fnv1a.h"
#include "emulation/sim_jobs.h"
#include "emulation/sim_printer.h"
#include "fakes/instant_clock.h"

namespace fwup {
namespace {

using testing::InstantClock;

PrinterScenario ReadyPrinter() {
    PrinterScenario printer;
    printer.instanceId = L"USB\\VID_5A7C&PID_B101\\SER0001";
    printer.status = 4;
    printer.version = "V2.10.8";
    return printer;
}

void WriteInPieces(SimPrinter& printer, const std::vector<std::uint8_t>& bytes, std::size_t piece) {
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const std::size_t size = std::min(piece, bytes.size() - at);
        ASSERT_EQ(printer.Write(std::span(bytes).subspan(at, size)), static_cast<long>(size));
    }
}

// Everything pending, read in 16-byte asks until a read returns nothing.
std::vector<std::uint8_t> ReadAll(SimPrinter& printer) {
    std::vector<std::uint8_t> all;
    std::uint8_t buffer[16];
    for (long n; (n = printer.Read(buffer)) > 0;) {
        all.insert(all.end(), buffer, buffer + n);
    }
    return all;
}

class SplitWrites : public ::testing::TestWithParam<std::size_t> {};

TEST_P(SplitWrites, StatusAndVersionJobsGetByteExactAnswers) {
    InstantClock clock;
    SimPrinter printer(ReadyPrinter());
    std::vector<std::uint8_t> stream = testing::StatusJob();
    const std::vector<std::uint8_t> version = testing::VersionJob();
    stream.insert(stream.end(), version.begin(), version.end());
    WriteInPieces(printer, stream, GetParam());

    const std::vector<std::uint8_t> expected = {
        0x00, 0xAC, 0xFF, 0x87, 0,   0,   4,  0, 0, 0, 0, 0, 0, 0, 0, 0,  // status
        0x00, 0xAC, 0xFF, 0x21, 0,   0,   0,  7, 0, 0, 0, 0, 0, 0, 0, 0,  // header
        'V',  '2',  '.',  '1',  '0', '.', '8'};                           // data
    EXPECT_EQ(ReadAll(printer), expected);

    const std::vector<ReceivedJob> jobs = printer.Jobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].kind, JobKind::kStatus);
    EXPECT_EQ(jobs[0].byteCount, 59u);
    EXPECT_EQ(jobs[0].digest, Fnv1a64Digest(testing::StatusJob()));
    EXPECT_EQ(jobs[1].kind, JobKind::kVersion);
    EXPECT_EQ(jobs[1].cmdID, ACLCMD_GET_FW_VERSION);
    EXPECT_EQ(jobs[1].text, testing::kVersionRequestText);
    EXPECT_EQ(jobs[1].byteCount, 99u);
}

INSTANTIATE_TEST_SUITE_P(Pieces, SplitWrites, ::testing::Values(1, 2, 7, 9, 25, 50, 1000));

TEST(SimPrinterJobs, FirmwareJobIsCountedAndDigestedNotAnswered) {
    InstantClock clock;
    SimPrinter printer(ReadyPrinter());
    const std::vector<std::uint8_t> package = testing::FirmwareJob(3 * 1024 * 1024 + 17);
    WriteInPieces(printer, package, kMaxWriteBytes);

    const std::vector<ReceivedJob> jobs = printer.Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].kind, JobKind::kFirmware);
    EXPECT_EQ(jobs[0].byteCount, package.size());
    EXPECT_EQ(jobs[0].digest, Fnv1a64Digest(package));
    EXPECT_EQ(printer.PendingReplyBytes(), 0u);
}

struct BadJob {
    const char* name;
    std::vector<std::uint8_t> bytes;
    JobFault fault;
    friend void PrintTo(const BadJob& job, std::ostream* os) { *os << job.name; }
};

std::vector<std::uint8_t> Corrupt(std::vector<std::uint8_t> job, std::size_t at, std::uint8_t b) {
    job[at] = b;
    return job;
}

std::vector<std::uint8_t> TextLengthJob(std::uint16_t length) {
    std::vector<std::uint8_t> job = testing::VersionJob();
    WriteBe16(std::span(job).subspan(34), kAclArgumentOffset, length);
    return job;
}

class MalformedJobs : public ::testing::TestWithParam<BadJob> {};

TEST_P(MalformedJobs, AreRecordedUnansweredAndTheNextJobIsServed) {
    InstantClock clock;
    SimPrinter printer(ReadyPrinter());
    WriteInPieces(printer, GetParam().bytes, 5);
    WriteInPieces(printer, testing::StatusJob(), 5);

    const std::vector<ReceivedJob> jobs = printer.Jobs();
    ASSERT_GE(jobs.size(), 2u);
    EXPECT_EQ(jobs.front().kind, JobKind::kMalformed);
    EXPECT_EQ(jobs.front().fault, GetParam().fault);
    EXPECT_EQ(jobs.back().kind, JobKind::kStatus);
    EXPECT_EQ(jobs.back().digest, Fnv1a64Digest(testing::StatusJob()));
    // Only the good job is answered.
    EXPECT_EQ(ReadAll(printer).size(), 16u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MalformedJobs,
    ::testing::Values(
        BadJob{"WrongUel", Corrupt(testing::StatusJob(), 3, '0'), JobFault::kBadUel},
        BadJob{"Garbage", std::vector<std::uint8_t>(5000, 'x'), JobFault::kBadUel},
        BadJob{"WrongLanguage", Corrupt(testing::StatusJob(), 30, 'P'), JobFault::kBadLanguageLine},
        BadJob{"WrongPrefix", Corrupt(testing::StatusJob(), 35, 0xAD), JobFault::kBadPrefix},
        BadJob{"UnknownCommand", Corrupt(testing::StatusJob(), 36, 0x12),
               JobFault::kUnknownCommand},
        BadJob{"TextTooLong", TextLengthJob(4097), JobFault::kTextTooLong},
        BadJob{"TextShorterThanSent", TextLengthJob(39), JobFault::kNoClosingUel},
        BadJob{"NoClosingUel", Corrupt(testing::StatusJob(), 50, '@'), JobFault::kNoClosingUel}),
    [](const ::testing::TestParamInfo<BadJob>& info) { return info.param.name; });

TEST(SimPrinterJobs, EndlessGarbageAndUnreadRepliesStayBounded) {
    InstantClock clock;
    SimPrinter printer(ReadyPrinter());
    const std::vector<std::uint8_t> garbage(8 * 1024 * 1024, 0x55);
    WriteInPieces(printer, garbage, kMaxWriteBytes);
    EXPECT_EQ(printer.Jobs().size(), 1u);

    // A host that never reads: replies beyond the cap are dropped, not stored.
    std::vector<std::uint8_t> many;
    const std::size_t count = SimPrinter::kMaxPendingReplyBytes / 16 + 10;
    for (std::size_t i = 0; i < count; ++i) {
        const auto job = testing::StatusJob();
        many.insert(many.end(), job.begin(), job.end());
    }
    WriteInPieces(printer, many, kMaxWriteBytes);
    EXPECT_EQ(printer.PendingReplyBytes(), SimPrinter::kMaxPendingReplyBytes);
    EXPECT_EQ(printer.DroppedReplies(), 10u);
    // The UEL that ended the skipping belongs to the next job, not to the garbage.
    EXPECT_EQ(printer.DiscardedBytes(), garbage.size());
}

TEST(SimPrinterJobs, RepeatedUelBeforeAJobIsHarmless) {
    InstantClock clock;
    SimPrinter printer(ReadyPrinter());
    std::vector<std::uint8_t> stream;
    testing::Append(stream, UEL);
    testing::Append(stream, UEL);
    const auto job = testing::StatusJob();
    stream.insert(stream.end(), job.begin(), job.end());
    WriteInPieces(printer, stream, 4);
    ASSERT_EQ(printer.Jobs().size(), 1u);
    EXPECT_EQ(printer.Jobs()[0].digest, Fnv1a64Digest(job));
}

}  // namespace
}  // namespace fwup
