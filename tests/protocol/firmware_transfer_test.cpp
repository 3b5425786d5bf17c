// The package transfer: DownloadFW over a channel of the test's own (short and failed writes),
// and SendElf with the embedded packages against a simulated printer. The main window's progress
// is tested with the window (tests/ui/main_window_progress_test.cpp).

#include "protocol/firmware_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fakes/instant_clock.h"
#include "fakes/recording_notice_output.h"
#include "fakes/taking_channel.h"
#include "fakes/temp_log_dir.h"
#include "firmware_test_support.h"
#include "protocol/firmware_resource.h"
#include "protocol/package_digest.h"
#include "protocol/result_codes.h"

namespace fwup {
namespace {

using testing::EmbeddedPackage;
using testing::FakeResourceSource;
using testing::FirmwareJobOf;
using testing::SimulatedPrinter;
using testing::TakingChannel;

TEST(TransferPercent, TruncatesTheSinglePrecisionRatioAndReachesOneHundredEarly) {
    EXPECT_EQ(TransferPercent(0, 100), 0);
    EXPECT_EQ(TransferPercent(1, 3), 33);
    EXPECT_EQ(TransferPercent(2, 3), 66);
    EXPECT_EQ(TransferPercent(3, 3), 100);
    EXPECT_EQ(TransferPercent(262144, 600059), 43);
    // The ratio 1791/1990 lies just below 0.9 in single precision; a single-precision product
    // would round it up to 90.
    EXPECT_EQ(TransferPercent(1791, 1990), 89);
    EXPECT_EQ(TransferPercent(UINT32_MAX, UINT32_MAX), 100);

    // Counts near 190 million are rounded to multiples of 16 as floats, so the last bytes of the
    // shipped package's length already divide to 1.0: the bar shows 100 before the last write.
    constexpr std::uint32_t kShipped = 190'590'411;
    EXPECT_EQ(TransferPercent(kShipped, kShipped), 100);
    EXPECT_EQ(TransferPercent(kShipped - 1, kShipped), 100) << "early: not every byte is sent";
    EXPECT_EQ(TransferPercent(kShipped - 2, kShipped), 100) << "early: not every byte is sent";
    EXPECT_EQ(TransferPercent(kShipped - 3, kShipped), 99);
    // The start of the last full-size block's tail: 727 blocks of 256 KiB.
    EXPECT_EQ(TransferPercent(727u * 262144u, kShipped), 99);
    EXPECT_EQ(TransferPercent(262144, kShipped), 0);
}

TEST(DownloadFW, RefusesBytesItCannotSendBeforeWritingAny) {
    TakingChannel channel;
    EXPECT_EQ(DownloadFW(&channel, nullptr, 10), kErrTransferBuffer);
    if constexpr (sizeof(std::size_t) > sizeof(std::uint32_t)) {
        // Never dereferenced: the length is refused first.
        const std::uint8_t byte = 0;
        EXPECT_EQ(DownloadFW(&channel, &byte, std::size_t{UINT32_MAX} + 1), kErrTransferBuffer);
    }
    EXPECT_TRUE(channel.offered.empty());
}
class SendElfTest : public ::testing::Test {
  protected:
    testing::InstantClock clock_;
    testing::RecordingNoticeOutput notices_;
    testing::TempLogDir log_;
};

struct WholePackageCase {
    const char* name;
    int resourceId;
    const char* faults;
    std::size_t largestWrite;
};

class SendElfWholePackage : public SendElfTest,
                            public ::testing::WithParamInterface<WholePackageCase> {};

TEST_P(SendElfWholePackage, ArrivesAsOneFirmwareJobInOrder) {
    SimulatedPrinter sim(GetParam().faults);
    const std::span<const std::uint8_t> package = EmbeddedPackage(GetParam().resourceId);

    EXPECT_EQ(SendElf(GetParam().resourceId, L"USB001"), kResultOk);

    const std::vector<ReceivedJob> jobs = sim.printer().Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0], FirmwareJobOf(package));
    EXPECT_EQ(sim.printer().BytesReceived(), package.size());

    std::size_t largest = 0;
    for (const SimEvent& event : sim.printer().Events()) {
        if (event.kind == SimEventKind::kWrite) {
            largest = std::max<std::size_t>(largest, static_cast<std::size_t>(event.result));
        }
    }
    EXPECT_EQ(largest, GetParam().largestWrite);
    EXPECT_EQ(sim.Count(SimEventKind::kOpen), 1);
    EXPECT_EQ(sim.Count(SimEventKind::kClose), 1);
    EXPECT_FALSE(sim.printer().channelOpen());
    EXPECT_EQ(notices_.lines, std::vector<std::wstring>{L"Tool show NOTICE\uFF1Aloading ELF..."});
    EXPECT_TRUE(log_.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Channels, SendElfWholePackage,
    ::testing::Values(WholePackageCase{"Plain", kPackagePlainId, "{}", kMaxWriteBytes},
                      WholePackageCase{"Encrypted", kPackageEncryptedId, "{}", kMaxWriteBytes},
                      WholePackageCase{"ShortWrites", kPackagePlainId,
                                       R"({"maxWriteBytes": 65536})", 65536},
                      WholePackageCase{"OddShortWrites", kPackageEncryptedId,
                                       R"({"maxWriteBytes": 4099})", 4099}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailedWriteCase {
    const char* name;
    const char* faults;
    std::uint64_t bytesReceived;
};

class SendElfFailedWrite : public SendElfTest,
                           public ::testing::WithParamInterface<FailedWriteCase> {};

TEST_P(SendElfFailedWrite, EndsWithMinus12AndClosesTheChannel) {
    SimulatedPrinter sim(GetParam().faults);

    EXPECT_EQ(SendElf(kPackagePlainId, L"USB001"), kErrTransferWrite);

    EXPECT_EQ(log_.Messages(), std::vector<std::string>{"DownloadFW failed, Err Code:     -12!"});
    EXPECT_TRUE(sim.FirmwareJobs().empty());
    EXPECT_EQ(sim.printer().BytesReceived(), GetParam().bytesReceived);
    EXPECT_FALSE(sim.printer().channelOpen());
}

INSTANTIATE_TEST_SUITE_P(Faults, SendElfFailedWrite,
                         ::testing::Values(
                             // The zero write comes on the second block: the first was taken whole.
                             FailedWriteCase{"ZeroWrite", R"({"zeroWriteAtByte": 300000})", 262144},
                             FailedWriteCase{"UnplugMidTransfer", R"({"unplugAtByte": 400000})",
                                             400000},
                             FailedWriteCase{"FirstWriteFails", R"({"failWrites": 1})", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SendElfTest, AMissingOrEmptyResourceOpensNoChannel) {
    SimulatedPrinter sim;
    FakeResourceSource resources;
    resources.resources[kPackagePlainId] = {};
    for (int id : {kPackagePlainId, kPackageEncryptedId}) {
        EXPECT_EQ(SendElf(id, L"USB001"), kErrPackageEmpty) << id;
    }
    EXPECT_EQ(log_.Messages(),
              (std::vector<std::string>{"ELF size is zero!", "ELF size is zero!"}));
    EXPECT_EQ(notices_.lines.size(), 2u) << "loading ELF... comes first in any case";
    EXPECT_TRUE(sim.printer().Events().empty());
}

// The package's memory goes back as the digest check and then the stream pass it, and during the
// stream never ahead of what the printer took.
TEST_F(SendElfTest, HandsBackEveryByteAfterTheCheckAndAfterSending) {
    SimulatedPrinter sim(R"({"maxWriteBytes": 100000})");
    FakeResourceSource resources;
    std::vector<std::uint8_t>& package = resources.resources[kPackagePlainId];
    package.assign(20u << 20, 0x5A);
    package[(8u << 20) - 1] = 0xA5;  // differs across the check's first step boundary
    // Which bytes have been handed back in each phase, and how many hints there were.
    std::vector<bool> checked(package.size(), false);
    std::vector<bool> sent(package.size(), false);
    int checkHints = 0;
    int sendHints = 0;
    resources.onRelease = [&](std::span<const std::uint8_t> bytes) {
        ASSERT_GE(bytes.data(), package.data());
        const auto from = static_cast<std::size_t>(bytes.data() - package.data());
        ASSERT_LE(from + bytes.size(), package.size());
        const bool sending = sim.printer().channelOpen();
        if (sending) {
            ++sendHints;
            EXPECT_LE(from + bytes.size(), sim.printer().BytesReceived())
                << "only bytes already taken";
        } else {
            ++checkHints;
        }
        std::fill_n((sending ? sent : checked).begin() + static_cast<long>(from), bytes.size(),
                    true);
    };

    EXPECT_EQ(SendElf(kPackagePlainId, L"USB001"), kResultOk);

    EXPECT_GE(checkHints, 2) << "released during the check, not only after it";
    EXPECT_GE(sendHints, 2) << "released during the stream, not only after it";
    EXPECT_EQ(std::count(checked.begin(), checked.end(), false), 0) << "every byte, once checked";
    EXPECT_EQ(std::count(sent.begin(), sent.end(), false), 0) << "every byte, in the end";
}

// Damage anywhere in the package, or no recorded digest at all: the printer sees nothing.
struct DamagedPackageCase {
    const char* name;
    int resourceId;
    std::optional<std::size_t> flippedByte;  // none: the package is whole, its digest missing
};

class SendElfDamagedPackage : public SendElfTest,
                              public ::testing::WithParamInterface<DamagedPackageCase> {};

TEST_P(SendElfDamagedPackage, IsRefusedBeforeTheChannelOpens) {
    const DamagedPackageCase& damage = GetParam();
    SimulatedPrinter sim;
    // The digest the build recorded beside the embedded package, and its bytes, changed since.
    const std::span<const std::uint8_t> embedded = EmbeddedPackage(damage.resourceId);
    const std::optional<PackageDigest> recorded =
        ExecutableResources().RecordedDigest(damage.resourceId);
    ASSERT_TRUE(recorded.has_value());
    FakeResourceSource resources;
    std::vector<std::uint8_t>& package = resources.resources[damage.resourceId];
    package.assign(embedded.begin(), embedded.end());
    if (damage.flippedByte) {
        package[std::min(*damage.flippedByte, package.size() - 1)] ^= 0x01;
        resources.digests[damage.resourceId] = recorded;
    } else {
        resources.digests[damage.resourceId] = std::nullopt;
    }

    EXPECT_EQ(SendElf(damage.resourceId, L"USB001"), kErrPackageDamaged);

    EXPECT_EQ(log_.Messages(),
              std::vector<std::string>{"Firmware package " + std::to_string(damage.resourceId) +
                                       " is damaged; nothing was sent"});
    EXPECT_TRUE(sim.printer().Events().empty()) << "no channel opened, nothing written";
}

INSTANTIATE_TEST_SUITE_P(
    Damage, SendElfDamagedPackage,
    ::testing::Values(DamagedPackageCase{"FirstByte", kPackagePlainId, 0},
                      DamagedPackageCase{"PayloadByte", kPackageEncryptedId, 300000},
                      DamagedPackageCase{"LastByte", kPackagePlainId, SIZE_MAX},
                      DamagedPackageCase{"NoRecordedDigest", kPackagePlainId, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SendElfTest, UnreachableResourceBytesOpenNoChannel) {
    SimulatedPrinter sim;
    FakeResourceSource resources;
    resources.resources[kPackagePlainId] = {1, 2, 3};
    resources.unreadable = true;
    EXPECT_EQ(SendElf(kPackagePlainId, L"USB001"), kErrPackageUnreadable);
    EXPECT_EQ(log_.Messages(), std::vector<std::string>{"read elf file failed!"});
    EXPECT_TRUE(sim.printer().Events().empty());
}

TEST_F(SendElfTest, NoPrinterOnThePortIsMinus6) {
    SimulatedPrinter sim;
    EXPECT_EQ(SendElf(kPackagePlainId, L"USB002"), kErrOpenChannel);
    EXPECT_EQ(log_.Messages(), std::vector<std::string>{"open USB Device failed!"});
    EXPECT_TRUE(sim.printer().Events().empty());
}

}  // namespace
}  // namespace fwup
