#include "device/libusb/printer_port_lookup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "device/libusb/fake_usb_backend.h"

namespace fwup::libusb {
namespace {

using testing::FakeUsbBackend;
using testing::OtherAlt;
using testing::PrinterAlt;

struct LookupCase {
    const char* name;
    UsbPrinterKey key;
    std::optional<std::uint32_t> port;
};

class PrinterPortLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(PrinterPortLookup, GivesThePortNumberDiscoveryGivesTheSamePrinter) {
    FakeUsbBackend backend;
    backend.Add(1, {1}).serial = "ABC123";  // port 1
    backend.Add(1, {2}, 0xB102, {{{PrinterAlt(0)}}, {{OtherAlt(1, 3)}}, {{PrinterAlt(2)}}}).serial =
        "AB\\C#9";                                         // ports 2 and 3
    backend.Add(1, {3}).descriptor.serialNumberIndex = 0;  // port 4
    backend.Add(1, {4}).serial = "ABC123";                 // port 5, a twin
    EXPECT_EQ(FindPrinterPortNumber(backend, GetParam().key), GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PrinterPortLookup,
    ::testing::Values(
        LookupCase{"bySerial", {0x5A7C, 0xB101, "ABC123", std::nullopt}, 1},
        LookupCase{"byInterface", {0x5A7C, 0xB101, "ABC123", 0}, 1},
        LookupCase{"firstInterface", {0x5A7C, 0xB102, "AB\\C#9", std::nullopt}, 2},
        LookupCase{"laterInterface", {0x5A7C, 0xB102, "AB_C_9", 2}, 3},
        LookupCase{"noPrintingInterface", {0x5A7C, 0xB102, "AB_C_9", 1}, std::nullopt},
        LookupCase{"noSerial", {0x5A7C, 0xB101, "", std::nullopt}, 4},
        LookupCase{"serialCaseMatters", {0x5A7C, 0xB101, "abc123", std::nullopt}, std::nullopt},
        LookupCase{"otherProduct", {0x5A7C, 0xB102, "ABC123", std::nullopt}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// A GET_DEVICE_ID reply: the length (big-endian, counting its own two bytes) and the text.
std::vector<std::uint8_t> DeviceIdReply(std::string_view text,
                                        std::optional<std::size_t> length = {}) {
    const std::size_t total = length.value_or(text.size() + 2);
    std::vector<std::uint8_t> reply(2 + text.size());
    reply[0] = static_cast<std::uint8_t>(total >> 8);
    reply[1] = static_cast<std::uint8_t>(total & 0xFF);
    std::copy(text.begin(), text.end(), reply.begin() + 2);
    return reply;
}

struct DeviceIdCase {
    const char* name;
    testing::FakeTransfer reply;
    std::optional<std::uint32_t> port;
};

class PrinterPortLookupByDeviceId : public ::testing::TestWithParam<DeviceIdCase> {};

// The CUPS usb backend names a printer by the serial of its IEEE 1284 device ID where it has one;
// the reply is the printer's word and is read no further than it reaches.
TEST_P(PrinterPortLookupByDeviceId, FindsThePrinterWhoseDeviceIdNamesTheSerial) {
    FakeUsbBackend backend;
    backend.Add(1, {1}).serial = "USB-SERIAL-1";  // port 1, answers no device ID
    testing::FakeUsbDevice& printer = backend.Add(
        1, {2}, 0xB101, {{{OtherAlt(0, 3)}}, {{PrinterAlt(1, 0, 1), PrinterAlt(1, 1)}}});
    printer.serial = "USB-SERIAL-2";  // port 2: interface 1, alternate setting 1
    printer.kernelDriver = {1};
    printer.control = {GetParam().reply};

    EXPECT_EQ(FindPrinterPortNumber(backend, {0x5A7C, 0xB101, "Q-1", std::nullopt}),
              GetParam().port);
    ASSERT_EQ(printer.controlCalls.size(), 1u);
    EXPECT_EQ(printer.controlCalls[0], (testing::ControlCall{0xA1, 0, 0, 0x0101, 1024, 5000}));
    EXPECT_EQ(printer.kernelDriver, (std::set<std::uint8_t>{1})) << "the printer driver is back";
    EXPECT_EQ(printer.openHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, PrinterPortLookupByDeviceId,
    ::testing::Values(
        DeviceIdCase{"snField", testing::Sends(DeviceIdReply("MFG:Viruzu;MDL:TQ3800HKR;SN:Q-1;")),
                     2},
        DeviceIdCase{"sernFieldAnyCaseWithBlanks",
                     testing::Sends(DeviceIdReply("MFG:Viruzu;\r\n sern : Q-1 ;CMD:ACL;")), 2},
        DeviceIdCase{"lengthBeyondWhatArrived",
                     testing::Sends(DeviceIdReply("MFG:Viruzu;SN:Q-1;", 0xFFFF)), 2},
        DeviceIdCase{"lengthCutsTheSerial",
                     testing::Sends(DeviceIdReply("MFG:Viruzu;SN:Q-1;", 2 + 15)), std::nullopt},
        DeviceIdCase{
            "countBeyondTheBuffer", {kUsbSuccess, DeviceIdReply("SN:Q-1;"), 5000}, std::nullopt},
        DeviceIdCase{"noSerialField", testing::Sends(DeviceIdReply("MFG:Viruzu;MDL:Q-1;")),
                     std::nullopt},
        DeviceIdCase{"requestRefused", testing::Ends(kUsbErrorPipe), std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fwup::libusb
