#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "base/win32/unique_win32.h"
#include "device/win32/host_source_guard.h"

namespace fwup {
namespace {

// The channel over a plain file: CreateFileW, ReadFile, WriteFile and CloseHandle behave on it as
// on a usbprint interface, so the channel's own handling of them runs for real.
class UsbPrintChannelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::array<wchar_t, MAX_PATH + 1> directory{};
        const DWORD length = GetTempPathW(MAX_PATH + 1, directory.data());
        ASSERT_GT(length, 0u);
        ASSERT_LE(length, MAX_PATH);
        path_ = std::wstring(directory.data(), length) + L"fwup-channel-" +
                testing::UniqueTestTag() + L".bin";
        const win32::UniqueFileHandle file(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr,
                                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                       nullptr));
        ASSERT_TRUE(file.valid());
    }

    void TearDown() override { DeleteFileW(path_.c_str()); }

    UsbChannel Open() { return host_.source().OpenInterface(path_); }

    testing::HostSourceGuard host_;
    std::wstring path_;
};

TEST_F(UsbPrintChannelTest, WrittenBytesReadBackWithTheirCounts) {
    std::vector<std::uint8_t> sent(300);
    std::iota(sent.begin(), sent.end(), std::uint8_t{7});
    {
        UsbChannel channel = Open();
        ASSERT_NE(channel, nullptr);
        EXPECT_EQ(WriteUSBDevice(channel.get(), sent.data(), sent.size()), 300);
        CloseUSBDevice(channel);
    }
    UsbChannel channel = Open();
    ASSERT_NE(channel, nullptr);
    std::vector<std::uint8_t> received(512, 0xAA);
    ASSERT_EQ(ReadUSBDevice(channel.get(), received.data(), received.size()), 300);
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), received.begin()));
    EXPECT_EQ(received[300], 0xAA);
    EXPECT_EQ(ReadUSBDevice(channel.get(), received.data(), received.size()), 0);
}

TEST_F(UsbPrintChannelTest, VendorRequestOnAHandleWithoutTheDriverFailsWithAnError) {
    UsbChannel channel = Open();
    ASSERT_NE(channel, nullptr);
    const std::array<std::uint8_t, 3> input{0xCA, 0, 0};
    std::array<std::uint8_t, kVendorReplySize> output{};
    const VendorReply reply = VendorGetCommand(channel.get(), input, output);
    EXPECT_FALSE(reply.succeeded);
    EXPECT_EQ(reply.returned, 0u);
    EXPECT_NE(reply.error, kErrorSuccess);
}

TEST_F(UsbPrintChannelTest, ClosedChannelFailsEveryCallAndClosesAgainSafely) {
    UsbChannel channel = Open();
    ASSERT_NE(channel, nullptr);
    channel->Close();
    channel->Close();
    std::array<std::uint8_t, 4> bytes{1, 2, 3, 4};
    EXPECT_EQ(channel->Write(bytes), -1);
    EXPECT_EQ(channel->Read(bytes), -1);
    const VendorReply reply = channel->VendorRequest(std::span(bytes).first<3>(), bytes);
    EXPECT_FALSE(reply.succeeded);
    EXPECT_EQ(reply.returned, 0u);
    EXPECT_NE(reply.error, kErrorSuccess);
    // The handle was really released: the file opens again for writing.
    EXPECT_NE(Open(), nullptr);
}

TEST_F(UsbPrintChannelTest, SecondWriterIsRefusedWhileTheChannelIsOpen) {
    UsbChannel first = Open();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Open(), nullptr);
    first.reset();
    EXPECT_NE(Open(), nullptr);
}

TEST_F(UsbPrintChannelTest, PathsThatNameNoOpenableInterfaceGiveNoChannel) {
    EXPECT_EQ(host_.source().OpenInterface(path_ + L".missing"), nullptr);
    EXPECT_EQ(host_.source().OpenInterface(L""), nullptr);
    // Cut at the NUL, this would open the temporary file, which is not the interface asked for.
    EXPECT_EQ(host_.source().OpenInterface(path_ + std::wstring(1, L'\0') + L".other"), nullptr);
}

}  // namespace
}  // namespace fwup
