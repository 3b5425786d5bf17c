#include <gtest/gtest.h>

#include "app/common/program_services.h"
#include "device/discovery.h"
#include "device/libusb/fake_usb_backend.h"
#include "device/libusb/libusb_interface_source.h"
#include "device/port_name.h"
#include "device/usb_open.h"
#include "fakes/recording_notice_output.h"

namespace fwup::libusb {
namespace {

using testing::FakeUsbBackend;
using testing::FakeUsbDevice;
using testing::OtherAlt;
using testing::PrinterAlt;

struct Member {
    std::wstring instanceId;
    std::wstring path;
    bool operator==(const Member&) const = default;
};

class LibusbDiscovery : public ::testing::Test {
  protected:
    std::vector<Member> Members() {
        std::vector<Member> members;
        std::unique_ptr<DeviceInterfaceSet> set = source.OpenSet();
        EXPECT_NE(set, nullptr);
        for (std::uint32_t i = 0; set && i < 300; ++i) {
            Member member;
            if (set->DeviceInstanceId(i, member.instanceId) == SetLookup::kEnd) {
                EXPECT_EQ(set->DeviceInterfacePath(i, member.path), InterfaceLookup::kNoInterface);
                break;
            }
            EXPECT_EQ(set->DeviceInterfacePath(i, member.path), InterfaceLookup::kFound);
            members.push_back(member);
        }
        return members;
    }

    std::unique_ptr<FakeUsbBackend> owned = std::make_unique<FakeUsbBackend>();
    FakeUsbBackend& backend = *owned;
    LibusbInterfaceSource source{std::move(owned)};
};

TEST_F(LibusbDiscovery, ListsPrintingInterfacesByBusThenPortPathThenInterface) {
    backend.Add(2, {1}).serial = "Z-last";
    FakeUsbDevice& composite =
        backend.Add(1, {3}, 0xB102, {{{OtherAlt(0, 3)}}, {{PrinterAlt(2)}}, {{PrinterAlt(1)}}});
    composite.descriptor.vendorId = 0xabcd;
    backend.Add(1, {1, 10}, 0xb10f);
    backend.Add(1, {1}, 0x0001, {{{OtherAlt(0, 9)}}});  // a hub
    backend.Add(1, {1, 2}).serial = "lower-case";

    EXPECT_EQ(Members(),
              (std::vector<Member>{
                  {L"USB\\VID_5A7C&PID_B101\\lower-case", L"usb:1-1.2:if0:dev6:5a7c:b101"},
                  {L"USB\\VID_5A7C&PID_B10F\\SER2", L"usb:1-1.10:if0:dev4:5a7c:b10f"},
                  {L"USB\\VID_ABCD&PID_B102&MI_01\\SER1", L"usb:1-3:if1:dev3:abcd:b102"},
                  {L"USB\\VID_ABCD&PID_B102&MI_02\\SER1", L"usb:1-3:if2:dev3:abcd:b102"},
                  {L"USB\\VID_5A7C&PID_B101\\Z-last", L"usb:2-1:if0:dev2:5a7c:b101"},
              }));
    // One string read serves both interfaces of the composite device, and nothing stays open.
    EXPECT_EQ(std::count(composite.calls.begin(), composite.calls.end(), "string 3"), 1);
    EXPECT_EQ(composite.openHandles, 0);
}

TEST_F(LibusbDiscovery, InterfacesThatAreNoPlainPrinterChannelAreIgnored) {
    UsbAltSetting noBulkOut = PrinterAlt(0);
    noBulkOut.endpoints.erase(noBulkOut.endpoints.begin());
    UsbAltSetting subclass = PrinterAlt(0);
    subclass.interfaceSubClass = 2;
    for (const UsbAltSetting& alt :
         {PrinterAlt(0, 0, 3), PrinterAlt(0, 0, 4), noBulkOut, subclass, OtherAlt(0, 3)}) {
        backend.Add(1, {static_cast<std::uint8_t>(backend.devices.size() + 1)}, 0xB101, {{{alt}}});
    }
    backend.Add(1, {9}, 0xB101, std::vector<UsbInterface>(1));  // an interface without settings
    backend.Add(1, {10}).descriptorFails = true;
    backend.Add(1, {11}).configurationFails = true;
    backend.Add(1, {12}).locationFails = true;
    backend.Add(1, {}).serial = "root hub";
    EXPECT_TRUE(Members().empty());
}

struct SerialCase {
    const char* name;
    std::string serial;
    std::wstring expected;  // after USB\VID_5A7C&PID_B101\ ; bus1-port4.2 stands in for none
};

class SerialText : public LibusbDiscovery, public ::testing::WithParamInterface<SerialCase> {};

TEST_P(SerialText, IsMadeSafeOrReplacedByThePlace) {
    FakeUsbDevice& printer = backend.Add(1, {4, 2});
    printer.serial = GetParam().serial;
    if (GetParam().serial == "unreadable") {
        printer.serialStatus = kUsbErrorPipe;
    } else if (GetParam().serial == "unopenable") {
        printer.openFails = true;
    } else if (GetParam().serial == "lying count") {
        printer.serialCount = 4096;
    } else if (GetParam().serial == "no index") {
        printer.descriptor.serialNumberIndex = 0;
    }
    const std::vector<Member> members = Members();
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(members[0].instanceId, L"USB\\VID_5A7C&PID_B101\\" + GetParam().expected);
    EXPECT_EQ(printer.openHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Serials, SerialText,
    ::testing::Values(SerialCase{"plain", "A1b2-C3.x", L"A1b2-C3.x"},
                      SerialCase{"separators", "AB\\CD#EF,G", L"AB_CD_EF_G"},
                      SerialCase{"controlsAndBlanks", std::string("a\tb c\x7f\x01", 7), L"a_b_c__"},
                      SerialCase{"padding", std::string("PAD42  \0\0", 9), L"PAD42"},
                      SerialCase{"nonAscii", "\xC3\xA9t\xE9", L"__t_"},
                      SerialCase{"overLong", std::string(300, 'x'), std::wstring(126, L'x')},
                      SerialCase{"blank", "   ", L"bus1-port4.2"},
                      SerialCase{"empty", "", L"bus1-port4.2"},
                      SerialCase{"unreadable", "unreadable", L"bus1-port4.2"},
                      SerialCase{"unopenable", "unopenable", L"bus1-port4.2"},
                      SerialCase{"lyingCount", "lying count", L"bus1-port4.2"},
                      SerialCase{"noIndex", "no index", L"bus1-port4.2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LibusbDiscovery, PortNumberIsThePositionInTheListingOrder) {
    backend.Add(1, {5});
    backend.Add(1, {2}, 0xB102, {{{PrinterAlt(0)}}, {{PrinterAlt(1)}}});
    backend.Add(3, {1}, 0x1234);  // another vendor's printer counts too
    const std::vector<Member> members = Members();
    ASSERT_EQ(members.size(), 4u);
    for (std::uint32_t i = 0; i < members.size(); ++i) {
        EXPECT_EQ(source.PortNumber(members[i].path), i + 1) << members[i].path;
    }

    // Unplugging the first one renumbers the rest; its old path names nothing.
    backend.devices.erase(backend.devices.begin() + 1);
    EXPECT_EQ(source.PortNumber(members[0].path), std::nullopt);
    EXPECT_EQ(source.PortNumber(members[3].path), 2u);
    // Replugged: same place, new address.
    backend.devices[0]->location.address = 77;
    EXPECT_EQ(source.PortNumber(members[2].path), std::nullopt);
    for (const wchar_t* path : {L"", L"usb:1-5", L"\\\\?\\usb#vid_5a7c&pid_b101#SER0#if00"}) {
        EXPECT_EQ(source.PortNumber(path), std::nullopt) << path;
    }
    backend.listFails = true;
    EXPECT_EQ(source.OpenSet(), nullptr);
    EXPECT_EQ(source.PortNumber(members[3].path), std::nullopt);
}

TEST_F(LibusbDiscovery, TheCoreFindsAndOpensPrintersByTheirPortNames) {
    ::fwup::testing::RecordingNoticeOutput notices;
    const InstalledServices installed({.interfaces = &source});
    backend.Add(1, {2}, 0x1234);
    FakeUsbDevice& hks = backend.Add(1, {3}, 0xB102, {{{OtherAlt(0, 3)}}, {{PrinterAlt(1)}}});
    FakeUsbDevice& hkr = backend.Add(1, {4});

    DeviceList list;
    EXPECT_EQ(GetSystemDeviceList(list), kDiscoveryOk);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].ModelName, L"Viruzu TQ3800HKS Series");
    EXPECT_EQ(list[0].PortName, L"USB002");
    EXPECT_EQ(list[1].ModelName, L"Viruzu TQ3800HKR Series");
    EXPECT_EQ(list[1].PortName, L"USB003");

    hks.calls.clear();
    UsbChannel channel = OpenUSBDevice(L"USB002");
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(hks.calls,
              (std::vector<std::string>{"open", "string 3", "close", "open", "claim 1"}));
    EXPECT_EQ(hkr.openHandles, 0);
    CloseUSBDevice(channel);
    EXPECT_EQ(hks.openHandles, 0);
    // Another vendor's printer has a port name but is no supported device.
    EXPECT_EQ(OpenUSBDevice(L"USB001"), nullptr);
    EXPECT_EQ(OpenUSBDevice(L"USB004"), nullptr);

    backend.listFails = true;
    list.clear();
    EXPECT_EQ(GetSystemDeviceList(list), kErrDeviceSet);
}

}  // namespace
}  // namespace fwup::libusb
