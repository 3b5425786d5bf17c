#include "device/libusb/printer_port_lookup.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace fwup::libusb
