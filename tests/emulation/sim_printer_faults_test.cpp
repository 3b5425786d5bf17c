#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "base/fnv1a.h"
#include "emulation/scenario_parser.h"
#include "emulation/security_record.h"
#include "emulation/sim_jobs.h"
#include "emulation/sim_printer.h"
#include "fakes/instant_clock.h"

namespace fwup {
namespace {

using testing::InstantClock;
using Bytes = std::vector<std::uint8_t>;

// Vendor request 0xCA with value 0: what the host asks for the security record.
const std::array<std::uint8_t, 3> kSecurityRequest{0xCA, 0x00, 0x00};

// A printer from scenario text, so each case also proves its keys reach the model.
std::unique_ptr<SimPrinter> PrinterWith(const std::string& members) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(ParseScenario(
        R"({"printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\1", )" + members + "}]}", scenario,
        error))
        << error;
    return std::make_unique<SimPrinter>(std::move(scenario.printers.at(0)));
}

std::vector<long> ReadCounts(SimPrinter& printer, std::size_t reads) {
    std::vector<long> counts;
    Bytes buffer(16);
    for (std::size_t i = 0; i < reads; ++i) {
        counts.push_back(printer.Read(buffer));
    }
    return counts;
}

TEST(SimPrinterFaults, ShortWritesOnASlowLinkStillDeliverThePackageInOrder) {
    InstantClock clock;
    auto printer =
        PrinterWith(R"("faults": {"maxWriteBytes": 1000, "linkBytesPerSecond": 1000000})");
    const Bytes package = testing::FirmwareJob(200'000);
    for (std::size_t sent = 0; sent < package.size();) {
        const long n = printer->Write(std::span(package).subspan(sent));
        ASSERT_EQ(n, static_cast<long>(std::min<std::size_t>(1000, package.size() - sent)));
        sent += static_cast<std::size_t>(n);
    }
    ASSERT_EQ(printer->Jobs().size(), 1u);
    EXPECT_EQ(printer->Jobs()[0].digest, Fnv1a64Digest(package));
    // 1 ms per 1000 bytes, each write rounded up.
    EXPECT_EQ(clock.sleptMs(), static_cast<std::int64_t>((package.size() + 999) / 1000));
}

TEST(SimPrinterFaults, FailedWritesThenAZeroWriteAtTheOffsetEachHappenOnce) {
    InstantClock clock;
    auto printer = PrinterWith(R"("faults": {"failWrites": 2, "zeroWriteAtByte": 100})");
    const Bytes job = testing::StatusJob();  // 59 bytes
    std::vector<long> counts;
    for (int i = 0; i < 5; ++i) {
        counts.push_back(printer->Write(job));
    }
    EXPECT_EQ(counts, (std::vector<long>{-1, -1, 59, 0, 59}));
    EXPECT_EQ(printer->BytesReceived(), 118u);
}

TEST(SimPrinterFaults, UnplugAtOffsetTakesTheBytesBeforeItThenEverythingFails) {
    InstantClock clock;
    auto printer = PrinterWith(R"("faults": {"unplugAtByte": 70})");
    const Bytes job = testing::StatusJob();
    EXPECT_EQ(printer->Write(job), 59);
    EXPECT_EQ(printer->Write(job), -1);
    EXPECT_EQ(printer->BytesReceived(), 70u);
    EXPECT_FALSE(printer->present());
    EXPECT_EQ(ReadCounts(*printer, 1), std::vector<long>{-1});  // the reply died with it
    EXPECT_EQ(printer->Write(job), -1);
    Bytes out(255);
    EXPECT_FALSE(printer->VendorRequest(kSecurityRequest, out).succeeded);
    EXPECT_FALSE(printer->TryOpen());
}

struct ReadCase {
    const char* name;
    std::string members;
    std::vector<long> counts;  // of successive 16-byte reads after one status job
    std::int64_t sleptMs;
    friend void PrintTo(const ReadCase& value, std::ostream* os) { *os << value.name; }
};

class ReadFaults : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadFaults, ShapeWhatEachReadReturnsAndWhatItCosts) {
    InstantClock clock;
    auto printer = PrinterWith(GetParam().members);
    printer->Write(testing::StatusJob());
    EXPECT_EQ(ReadCounts(*printer, GetParam().counts.size()), GetParam().counts);
    EXPECT_EQ(clock.sleptMs(), GetParam().sleptMs);
}

std::vector<long> SilentThenReply(std::size_t silent) {
    std::vector<long> counts(silent, 0);
    counts.push_back(16);
    counts.push_back(0);
    return counts;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReadFaults,
    ::testing::Values(
        ReadCase{"Healthy", R"("status": 2)", {16, 0}, 1000},
        ReadCase{"FailedReadsFirst", R"("faults": {"failReads": 2})", {-1, -1, 16, 0}, 1000},
        ReadCase{"Pieces", R"("faults": {"replyPieceBytes": 3})", {3, 3, 3, 3, 3, 1, 0}, 1000},
        // Reads at 0, 0.5 ... 4.5 s after the first are silent; the one at 5 s gets the reply.
        ReadCase{"Silence", R"("readTimeoutMs": 500, "faults": {"silentReadSeconds": 5})",
                 SilentThenReply(10), 5500}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

Bytes Reply(std::uint16_t prefix, std::uint16_t cmdID, std::uint16_t cmdStatus, std::uint8_t b6,
            std::uint8_t b7, const std::string& data = "") {
    Bytes reply(16, 0);
    WriteBe16(reply, 0, prefix);
    WriteBe16(reply, 2, cmdID);
    WriteBe16(reply, 4, cmdStatus);
    reply[6] = b6;
    reply[7] = b7;
    reply.insert(reply.end(), data.begin(), data.end());
    return reply;
}

struct ReplyCase {
    const char* name;
    std::string members;
    bool versionJob;
    Bytes reply;
    friend void PrintTo(const ReplyCase& value, std::ostream* os) { *os << value.name; }
};

class ReplyContent : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyContent, FollowsTheScenarioByteForByte) {
    InstantClock clock;
    auto printer = PrinterWith(GetParam().members);
    printer->Write(GetParam().versionJob ? testing::VersionJob() : testing::StatusJob());
    Bytes reply(400);
    reply.resize(static_cast<std::size_t>(std::max(0L, printer->Read(reply))));
    EXPECT_EQ(reply, GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReplyContent,
    ::testing::Values(ReplyCase{"Prefix", R"("faults": {"replyPrefix": 173})", false,
                                Reply(0xAD, 0xFF87, 0, 0, 0)},
                      ReplyCase{"CmdId", R"("faults": {"replyCmdId": 65313})", false,
                                Reply(0xAC, 0xFF21, 0, 0, 0)},
                      ReplyCase{"CmdStatus", R"("faults": {"replyCmdStatus": 48879})", false,
                                Reply(0xAC, 0xFF87, 0xBEEF, 0, 0)},
                      ReplyCase{"VersionCut", R"("faults": {"versionLength": 3})", true,
                                Reply(0xAC, 0xFF21, 0, 0, 3, "V2.")},
                      ReplyCase{"VersionEmpty", R"("faults": {"versionLength": 0})", true,
                                Reply(0xAC, 0xFF21, 0, 0, 0)},
                      ReplyCase{
                          "VersionPadded", R"("faults": {"versionLength": 200})", true,
                          Reply(0xAC, 0xFF21, 0, 0, 200, "V2.10.8" + std::string(193, '\0'))}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return info.param.name; });

struct VendorCase {
    const char* name;
    std::string members;
    VendorReply first;         // offered 255 bytes
    std::size_t retryReturns;  // offered 512 bytes
    friend void PrintTo(const VendorCase& value, std::ostream* os) { *os << value.name; }
};

class VendorFaults : public ::testing::TestWithParam<VendorCase> {};

TEST_P(VendorFaults, FirstCallFailsAsScriptedAndARetryWith512GetsTheRecord) {
    InstantClock clock;
    auto printer = PrinterWith(GetParam().members);
    Bytes out(kVendorReplySize);
    const VendorReply first = printer->VendorRequest(kSecurityRequest, out);
    EXPECT_EQ(first.succeeded, GetParam().first.succeeded);
    EXPECT_EQ(first.returned, GetParam().first.returned);
    EXPECT_EQ(first.error, GetParam().first.error);

    Bytes retry(kVendorRetryReplySize);
    const VendorReply second = printer->VendorRequest(kSecurityRequest, retry);
    ASSERT_EQ(second.returned, GetParam().retryReturns);
    retry.resize(second.returned);
    const Bytes record = BuildSecurityRecord(printer->scenario().security, false);
    EXPECT_EQ(retry, Bytes(record.begin(), record.begin() + second.returned));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, VendorFaults,
    ::testing::Values(
        VendorCase{"MoreData", R"("faults": {"vendorError": 234})", {false, 0, 234}, 172},
        VendorCase{"InsufficientBuffer", R"("faults": {"vendorError": 122})", {false, 0, 122}, 172},
        VendorCase{"OtherError", R"("faults": {"vendorError": 31})", {false, 0, 31}, 172},
        VendorCase{"Healthy", R"("security": {"security": 32})", {true, 172, 0}, 172},
        VendorCase{"LongRecordIsCutToTheOffer",
                   R"("security": {"security": 32, "length": 600})",
                   {true, 255, 0},
                   512},
        VendorCase{
            "ReturnsNothing", R"("faults": {"vendorReturnsNothing": true})", {true, 0, 0}, 0}),
    [](const ::testing::TestParamInfo<VendorCase>& info) { return info.param.name; });

}  // namespace
}  // namespace fwup
