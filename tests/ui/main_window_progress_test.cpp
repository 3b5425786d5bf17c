// The main window's progress during a package transfer: DownloadFW reporting to the window (as a
// run started from it does) over a channel of the test's own.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "fakes/instant_clock.h"
#include "fakes/recording_dialog_surface.h"
#include "fakes/taking_channel.h"
#include "protocol/firmware_transfer.h"
#include "protocol/result_codes.h"
#include "text/lang_text.h"
#include "ui/main_window.h"
#include "ui/window_front_end.h"
#include "upgrade/run_status.h"

namespace fwup {
namespace {

using testing::TakingChannel;

// The main window the transfer reports to (as a run started from it does), and what it showed
// before every write.
class ProgressTest : public ::testing::Test {
  protected:
    struct Display {
        int reports;   // progress requests to the window since the channel was made
        int position;  // of the progress bar
    };

    ProgressTest() {
        window_.emplace(surface_, factory_,
                        MainWindowHooks{.selectLanguage = [] { UiLangId.store(LANG_ENGLISH); }});
        surface_.FireInit();
    }
    ~ProgressTest() override {
        window_.reset();
        UiLangId.store(0);
    }

    // A channel taking at most `maxTake` bytes a write, noting the display before each write.
    std::unique_ptr<TakingChannel> MakeChannel(std::size_t maxTake = kMaxWriteBytes) {
        auto channel = std::make_unique<TakingChannel>();
        channel->maxTake = maxTake;
        baseline_ = Requests();
        beforeWrites_.clear();
        channel->beforeWrite = [this] {
            beforeWrites_.push_back(Displayed());
            // A channel as slow as a printer's: every report may reach the window.
            if (writesTakeAFrame_) {
                clock_.Advance(kTransferFrameMs);
            }
        };
        return channel;
    }
    Display Displayed() const {
        return {Requests() - baseline_, surface_.Control(kIdProgress).progressPos};
    }
    int Requests() const { return surface_.windowThreadRequests + surface_.windowThreadPosts; }

    static std::vector<std::uint8_t> Bytes(std::size_t size) {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<std::uint8_t>(i ^ (i >> 8) ^ (i >> 16));
        }
        return bytes;
    }

    testing::InstantClock clock_;
    bool writesTakeAFrame_ = true;
    testing::RecordingDialogSurface surface_;
    testing::RecordingSurfaceFactory factory_;
    std::optional<CVevaVoRirizevDlg> window_;
    int baseline_ = 0;
    std::vector<Display> beforeWrites_;
    MainWindowProgress progress_;
};

TEST_F(ProgressTest, EveryByteArrivesOnceInOrderAndEveryNewPercentageIsShown) {
    for (std::size_t maxTake : {kMaxWriteBytes, std::size_t{100'003}, std::size_t{7}}) {
        SCOPED_TRACE(maxTake);
        const std::unique_ptr<TakingChannel> channel = MakeChannel(maxTake);
        const std::vector<std::uint8_t> data = Bytes(maxTake == 7 ? 1000 : 600'059);

        ASSERT_EQ(DownloadFW(channel.get(), data.data(), data.size(), &progress_), kResultOk);
        EXPECT_EQ(channel->received, data);

        // Each write offers everything not yet taken, capped at 256 KiB.
        std::size_t sent = 0;
        std::vector<int> expected;
        for (std::size_t i = 0; i < channel->offered.size(); ++i) {
            EXPECT_EQ(channel->offered[i], std::min(data.size() - sent, kMaxWriteBytes)) << i;
            sent += channel->taken[i];
            expected.push_back(TransferPercent(static_cast<std::uint32_t>(sent),
                                               static_cast<std::uint32_t>(data.size())));
        }
        // Before write k the window shows the report of write k-1; afterwards that of the last.
        std::vector<Display> shown(beforeWrites_.begin() + 1, beforeWrites_.end());
        shown.push_back(Displayed());
        ASSERT_EQ(shown.size(), expected.size());
        int changes = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            changes += i == 0 || expected[i] != expected[i - 1] ? 1 : 0;
            EXPECT_EQ(shown[i].reports, changes) << "one request per new percentage, none else";
            // The bar's range starts at 1, so the window pins a report of 0 there.
            EXPECT_EQ(shown[i].position, std::max(expected[i], 1)) << i;
        }
        EXPECT_TRUE(std::is_sorted(expected.begin(), expected.end()));
        EXPECT_EQ(expected.back(), 100);
    }
    EXPECT_EQ(surface_.Control(kIdStatus).text, GetLangText(TXT_TRANSMITTING));
}

// Into a channel faster than a screen, the bar shows the first percentage, then nothing new
// within the frame, and the full bar at the end.
TEST_F(ProgressTest, AFastChannelShowsTheFirstPercentageAndTheFullBar) {
    writesTakeAFrame_ = false;
    const std::unique_ptr<TakingChannel> channel = MakeChannel();
    const std::vector<std::uint8_t> data = Bytes(600'059);

    ASSERT_EQ(DownloadFW(channel.get(), data.data(), data.size(), &progress_), kResultOk);

    ASSERT_EQ(beforeWrites_.size(), 3u);
    EXPECT_EQ(beforeWrites_[1].position, TransferPercent(262144, 600'059));
    EXPECT_EQ(beforeWrites_[2].position, TransferPercent(262144, 600'059)) << "held back";
    EXPECT_EQ(Displayed().position, 100);
    EXPECT_EQ(Displayed().reports, 2);
}

TEST_F(ProgressTest, AFailedOrEmptyWriteEndsTheTransferWithoutAReport) {
    for (long result : {0L, -1L}) {
        SCOPED_TRACE(result);
        const std::unique_ptr<TakingChannel> channel = MakeChannel();
        channel->failAtWrite = 2;
        channel->failResult = result;
        const std::vector<std::uint8_t> data = Bytes(600'059);

        EXPECT_EQ(DownloadFW(channel.get(), data.data(), data.size(), &progress_),
                  kErrTransferWrite);
        EXPECT_EQ(channel->offered.size(), 2u) << "nothing is written after the failure";
        // The second round's percentage is already on screen, so it is not sent again.
        EXPECT_EQ(Displayed().reports, result == 0 ? 1 : 0);
        EXPECT_EQ(Displayed().position, TransferPercent(262144, 600'059));
    }
}

TEST_F(ProgressTest, LengthZeroWritesAndReportsNothing) {
    const std::unique_ptr<TakingChannel> channel = MakeChannel();
    const std::uint8_t byte = 0;
    EXPECT_EQ(DownloadFW(channel.get(), &byte, 0, &progress_), kResultOk);
    EXPECT_EQ(DownloadFW(channel.get(), nullptr, 0, &progress_), kResultOk);
    EXPECT_TRUE(channel->offered.empty());
    EXPECT_EQ(Displayed().reports, 0);
}

TEST(DownloadFW, WithoutAMainWindowStillSendsEverything) {
    ASSERT_EQ(pMainDlg.load(), nullptr);
    TakingChannel channel;
    const std::vector<std::uint8_t> data(300'000, 0x5A);
    EXPECT_EQ(DownloadFW(&channel, data.data(), data.size()), kResultOk);
    EXPECT_EQ(channel.received, data);
    EXPECT_EQ(DownloadFW(nullptr, data.data(), data.size()), kErrTransferWrite);
}
}  // namespace
}  // namespace fwup
