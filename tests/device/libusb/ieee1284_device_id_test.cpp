#include "device/libusb/ieee1284_device_id.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/libusb/device_id_replies.h"

namespace fwup::libusb {
namespace {

class DeviceIdReply : public ::testing::TestWithParam<testing::DeviceIdReplyCase> {};

TEST_P(DeviceIdReply, GivesTheSerialCupsTakesFromIt) {
    const std::string& reply = GetParam().reply;
    EXPECT_EQ(DeviceIdSerialOfReply(std::span<const std::uint8_t>(
                  reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size())),
              GetParam().serial);
}

INSTANTIATE_TEST_SUITE_P(Replies, DeviceIdReply, ::testing::ValuesIn(testing::kDeviceIdReplies),
                         [](const auto& info) { return std::string(info.param.name); });

// The reply is read no further than it reached and than the buffer reaches, whatever its length
// bytes say.
TEST(DeviceIdText, StaysInsideWhatArrivedAndTheBuffer) {
    std::vector<std::uint8_t> reply(kMaxDeviceIdBytes + 100, 'x');
    reply[0] = 0xFF;
    reply[1] = 0xFF;
    EXPECT_EQ(DeviceIdText(reply)->size(), kMaxDeviceIdBytes - 2);
    reply.resize(20);
    EXPECT_EQ(DeviceIdText(reply)->size(), 18u);
    reply.resize(1);
    EXPECT_FALSE(DeviceIdText(reply).has_value());
}

}  // namespace
}  // namespace fwup::libusb
