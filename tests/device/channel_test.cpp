#include "device/channel.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/scripted_channel.h"

namespace fwup {
namespace {

using testing::ScriptedChannel;

TEST(ChannelContract, WriteHandsAtMostOneBlockToThePlatformAndReportsItsCount) {
    ScriptedChannel channel;
    const std::vector<std::uint8_t> data(300'000, 0x5A);
    EXPECT_EQ(WriteUSBDevice(&channel, data.data(), data.size()), 262'144);
    channel.writeResults.push_back(1000);
    EXPECT_EQ(WriteUSBDevice(&channel, data.data(), data.size()), 1000);
    channel.writeResults.push_back(0);
    EXPECT_EQ(WriteUSBDevice(&channel, data.data(), 10), 0);
    channel.writeResults.push_back(-1);
    EXPECT_EQ(WriteUSBDevice(&channel, data.data(), 10), -1);
    EXPECT_EQ(channel.writeSizes, (std::vector<std::size_t>{262'144, 262'144, 10, 10}));
}

// A channel whose platform reports impossible counts.
class LyingChannel final : public Channel {
  public:
    long Write(std::span<const std::uint8_t> bytes) override {
        return static_cast<long>(bytes.size()) + 1;
    }
    long Read(std::span<std::uint8_t> buffer) override {
        return static_cast<long>(buffer.size()) + 5;
    }
    VendorReply VendorRequest(std::span<const std::uint8_t, 3>, std::span<std::uint8_t>) override {
        return VendorReply{true, 100'000, kErrorSuccess};
    }
    void Close() override {}
};

TEST(ChannelContract, ImpossibleCountsAreFailuresNotOverruns) {
    LyingChannel channel;
    std::uint8_t buffer[16] = {};
    EXPECT_EQ(WriteUSBDevice(&channel, buffer, sizeof buffer), -1);
    EXPECT_EQ(ReadUSBDevice(&channel, buffer, sizeof buffer), -1);
    std::uint8_t reply[255] = {};
    const std::uint8_t input[3] = {0xCA, 0, 0};
    EXPECT_EQ(VendorGetCommand(&channel, input, reply).returned, sizeof reply);
}

TEST(ChannelContract, NullChannelFailsEveryOperation) {
    std::uint8_t buffer[4] = {};
    const std::uint8_t input[3] = {0xCA, 0, 0};
    EXPECT_EQ(WriteUSBDevice(nullptr, buffer, sizeof buffer), -1);
    EXPECT_EQ(ReadUSBDevice(nullptr, buffer, sizeof buffer), -1);
    const VendorReply reply = VendorGetCommand(nullptr, input, buffer);
    EXPECT_FALSE(reply.succeeded);
    EXPECT_EQ(reply.returned, 0u);
    UsbChannel none;
    CloseUSBDevice(none);  // accepted and ignored
}

}  // namespace
}  // namespace fwup
