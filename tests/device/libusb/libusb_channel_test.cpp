#include <gtest/gtest.h>

#include <array>

#include "device/libusb/fake_usb_backend.h"
#include "device/libusb/interface_open.h"
#include "device/libusb/interface_path.h"
#include "device/libusb/libusb_channel.h"

namespace fwup::libusb {
namespace {

using testing::BulkCall;
using testing::ControlCall;
using testing::Ends;
using testing::FakeTransfer;
using testing::FakeUsbBackend;
using testing::FakeUsbDevice;
using testing::kIn;
using testing::kOut;
using testing::OtherAlt;
using testing::PrinterAlt;
using testing::Sends;
using Calls = std::vector<std::string>;

std::wstring PathOf(const FakeUsbDevice& device, std::uint8_t interfaceNumber) {
    return FormatInterfacePath({device.location.bus, device.location.ports, device.location.address,
                                interfaceNumber, device.descriptor.vendorId,
                                device.descriptor.productId});
}

class LibusbChannelTest : public ::testing::Test {
  protected:
    UsbChannel Open() { return OpenPrintingInterface(backend, PathOf(printer, 0)); }

    FakeUsbBackend backend;
    FakeUsbDevice& printer = backend.Add(1, {1, 4});
};

TEST_F(LibusbChannelTest, TakesTheInterfaceFromTheKernelDriverAndGivesItBack) {
    printer.kernelDriver = {0};
    UsbChannel channel = Open();
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(printer.calls, (Calls{"open", "detach 0", "claim 0"}));
    channel->Close();
    channel->Close();
    EXPECT_EQ(printer.calls,
              (Calls{"open", "detach 0", "claim 0", "release 0", "attach 0", "close"}));
    EXPECT_EQ(printer.kernelDriver, std::set<std::uint8_t>{0});
    EXPECT_EQ(channel->Write(std::array<std::uint8_t, 1>{}), -1);
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(channel->Read(buffer), -1);
    EXPECT_EQ(channel->VendorRequest(std::array<std::uint8_t, 3>{}, buffer).error,
              kErrorGenFailure);
    EXPECT_TRUE(printer.bulkCalls.empty() && printer.controlCalls.empty());

    // Without a driver there is nothing to give back; destruction closes as Close does.
    printer.calls.clear();
    printer.kernelDriver.clear();
    Open().reset();
    EXPECT_EQ(printer.calls, (Calls{"open", "claim 0", "release 0", "close"}));
}

struct OpenFailure {
    const char* name;
    void (*arrange)(FakeUsbDevice&);
    Calls calls;
};

class FailedOpen : public LibusbChannelTest, public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(FailedOpen, GivesBackEverythingTaken) {
    printer.kernelDriver = {0};
    printer.configuration.interfaces = {{{PrinterAlt(0, 0, 1), PrinterAlt(0, 1, 2)}}};
    const std::wstring path = PathOf(printer, 0);
    GetParam().arrange(printer);
    EXPECT_EQ(OpenPrintingInterface(backend, path), nullptr);
    EXPECT_EQ(printer.calls, GetParam().calls);
    EXPECT_EQ(printer.openHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailedOpen,
    ::testing::Values(
        OpenFailure{"open", [](FakeUsbDevice& d) { d.openFails = true; }, {}},
        OpenFailure{"detach",
                    [](FakeUsbDevice& d) { d.detachStatus = kUsbErrorAccess; },
                    {"open", "detach 0", "close"}},
        OpenFailure{"claim",
                    [](FakeUsbDevice& d) { d.claimStatus = kUsbErrorBusy; },
                    {"open", "detach 0", "claim 0", "attach 0", "close"}},
        OpenFailure{"altSetting",
                    [](FakeUsbDevice& d) { d.altStatus = kUsbErrorPipe; },
                    {"open", "detach 0", "claim 0", "alt 0 1", "release 0", "attach 0", "close"}},
        OpenFailure{"gone", [](FakeUsbDevice& d) { d.location.address = 99; }, {}},
        OpenFailure{"noLongerAPrinter",
                    [](FakeUsbDevice& d) { d.configuration.interfaces = {{{OtherAlt(0, 3)}}}; },
                    {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LibusbChannelTest, SelectsTheBidirectionalSettingOnlyWhereThereIsAChoice) {
    printer.configuration.interfaces = {{{PrinterAlt(0, 0, 1), PrinterAlt(0, 1, 2, 64)}}};
    EXPECT_NE(Open(), nullptr);
    EXPECT_EQ(printer.calls, (Calls{"open", "claim 0", "alt 0 1", "release 0", "close"}));

    // A unidirectional printer opens for writing; reads fail without asking the device.
    printer.configuration.interfaces = {{{PrinterAlt(0, 0, 1)}}};
    UsbChannel channel = Open();
    ASSERT_NE(channel, nullptr);
    std::array<std::uint8_t, 8> bytes{};
    EXPECT_EQ(channel->Write(bytes), 8);
    EXPECT_EQ(channel->Read(bytes), -1);
    EXPECT_EQ(printer.bulkCalls, (std::vector<BulkCall>{{kOut, 8, kWriteTimeoutMs}}));
}

struct TransferCase {
    const char* name;
    FakeTransfer step;
    long expected;
};

class WriteMapping : public LibusbChannelTest,
                     public ::testing::WithParamInterface<TransferCase> {};

TEST_P(WriteMapping, ReportsWhatWentOrMinusOne) {
    UsbChannel channel = Open();
    ASSERT_NE(channel, nullptr);
    printer.bulkOut.push_back(GetParam().step);
    std::vector<std::uint8_t> bytes(4096, 0x5A);
    EXPECT_EQ(channel->Write(bytes), GetParam().expected);
    EXPECT_EQ(printer.bulkCalls, (std::vector<BulkCall>{{kOut, 4096, kWriteTimeoutMs}}));
}

INSTANTIATE_TEST_SUITE_P(
    Results, WriteMapping,
    ::testing::Values(TransferCase{"whole", Ends(kUsbSuccess, 4096), 4096},
                      TransferCase{"partialOnTimeout", Ends(kUsbErrorTimeout, 1000), 1000},
                      TransferCase{"nothingOnTimeout", Ends(kUsbErrorTimeout, 0), 0},
                      TransferCase{"stallMidway", Ends(kUsbErrorPipe, 512), -1},
                      TransferCase{"unplugged", Ends(kUsbErrorNoDevice, 512), -1},
                      TransferCase{"countBeyondTheBytes", Ends(kUsbSuccess, 5000), -1}),
    [](const auto& info) { return std::string(info.param.name); });

class ReadMapping : public LibusbChannelTest, public ::testing::WithParamInterface<TransferCase> {};

TEST_P(ReadMapping, ReportsWhatCameOrMinusOne) {
    UsbChannel channel = Open();
    ASSERT_NE(channel, nullptr);
    printer.bulkIn.push_back(GetParam().step);
    std::array<std::uint8_t, 1024> buffer{};
    EXPECT_EQ(channel->Read(buffer), GetParam().expected);
    EXPECT_EQ(printer.bulkCalls, (std::vector<BulkCall>{{kIn, 1024, kReadTimeoutMs}}));
}

INSTANTIATE_TEST_SUITE_P(
    Results, ReadMapping,
    ::testing::Values(TransferCase{"reply", Sends({1, 2, 3}), 3},
                      TransferCase{"partialOnTimeout", Sends({1, 2}, kUsbErrorTimeout), 2},
                      TransferCase{"silence", Sends({}, kUsbErrorTimeout), 0},
                      TransferCase{"stall", Ends(kUsbErrorPipe), -1},
                      TransferCase{"unplugged", Ends(kUsbErrorNoDevice), -1},
                      TransferCase{"babble", Sends(std::vector<std::uint8_t>(2000)), -1},
                      TransferCase{"countBeyondTheBuffer", FakeTransfer{kUsbSuccess, {1}, 4096},
                                   -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LibusbChannelTest, ReadsWholePacketsAndKeepsWhatDidNotFit) {
    printer.configuration.interfaces = {{{PrinterAlt(0, 0, 2, 64)}}};
    UsbChannel channel = Open();
    ASSERT_NE(channel, nullptr);
    std::vector<std::uint8_t> reply(40);
    for (std::size_t i = 0; i < reply.size(); ++i) {
        reply[i] = static_cast<std::uint8_t>(i);
    }
    printer.bulkIn.push_back(Sends(reply));
    printer.bulkIn.push_back(Sends({0xEE}));

    std::array<std::uint8_t, 16> header{};
    ASSERT_EQ(channel->Read(header), 16);
    std::array<std::uint8_t, 100> rest{};
    ASSERT_EQ(channel->Read(rest), 24);
    EXPECT_TRUE(std::equal(rest.begin(), rest.begin() + 24, reply.begin() + 16));
    EXPECT_EQ(channel->Read(rest), 1);
    EXPECT_EQ(rest[0], 0xEE);
    EXPECT_EQ(printer.bulkCalls,
              (std::vector<BulkCall>{{kIn, 64, kReadTimeoutMs}, {kIn, 64, kReadTimeoutMs}}));
    EXPECT_EQ(channel->Read(std::span<std::uint8_t>()), 0);
    EXPECT_EQ(printer.bulkCalls.size(), 2u);
}

TEST_F(LibusbChannelTest, VendorRequestGoesToTheInterfaceAndMapsItsOutcome) {
    FakeUsbDevice& composite = backend.Add(1, {2}, 0xB102, {{{OtherAlt(0, 3)}}, {{PrinterAlt(1)}}});
    UsbChannel channel = OpenPrintingInterface(backend, PathOf(composite, 1));
    ASSERT_NE(channel, nullptr);
    composite.control = {Sends({0x11, 0x22}), Sends({}), Ends(kUsbErrorOverflow),
                         Ends(kUsbErrorPipe)};
    std::array<std::uint8_t, 255> output{};

    VendorReply reply = channel->VendorRequest(std::array<std::uint8_t, 3>{0xCA, 0, 0}, output);
    EXPECT_TRUE(reply.succeeded);
    EXPECT_EQ(reply.returned, 2u);
    EXPECT_EQ(output[1], 0x22);
    reply = channel->VendorRequest(std::array<std::uint8_t, 3>{0x10, 0x12, 0x34}, output);
    EXPECT_TRUE(reply.succeeded);
    EXPECT_EQ(reply.returned, 0u);
    reply = channel->VendorRequest(std::array<std::uint8_t, 3>{0xCA, 0, 0}, output);
    EXPECT_EQ(reply.succeeded || reply.returned != 0, false);
    EXPECT_EQ(reply.error, kErrorMoreData);
    std::vector<std::uint8_t> huge(70000);
    reply = channel->VendorRequest(std::array<std::uint8_t, 3>{0xCA, 0, 0}, huge);
    EXPECT_EQ(reply.succeeded || reply.returned != 0, false);
    EXPECT_EQ(reply.error, kErrorGenFailure);

    EXPECT_EQ(composite.controlCalls, (std::vector<ControlCall>{
                                          {0xC1, 0xCA, 0x0000, 1, 255, kVendorTimeoutMs},
                                          {0xC1, 0x10, 0x1234, 1, 255, kVendorTimeoutMs},
                                          {0xC1, 0xCA, 0x0000, 1, 255, kVendorTimeoutMs},
                                          {0xC1, 0xCA, 0x0000, 1, 65535, kVendorTimeoutMs},
                                      }));
}

}  // namespace
}  // namespace fwup::libusb
