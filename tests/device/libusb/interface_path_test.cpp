#include "device/libusb/interface_path.h"

#include <gtest/gtest.h>

#include "device/port_name.h"

namespace fwup::libusb {
namespace {

TEST(InterfacePath, ReadsBackWhatItWrote) {
    const InterfaceAddress deepest{255, {255, 255, 255, 255, 255, 255, 255}, 255, 255, 0xFFFF, 0};
    const std::wstring path = FormatInterfacePath(deepest);
    EXPECT_EQ(path, L"usb:255-255.255.255.255.255.255.255:if255:dev255:ffff:0000");
    EXPECT_EQ(ParseInterfacePath(path), deepest);
    EXPECT_LE(path.size(), kMaxInterfacePathChars);
    EXPECT_EQ(ConvertedInterfacePath(path).find(kDot4Marker), std::wstring::npos);

    const InterfaceAddress plain{1, {1, 2}, 5, 0, 0x5A7C, 0xB101};
    EXPECT_EQ(FormatInterfacePath(plain), L"usb:1-1.2:if0:dev5:5a7c:b101");
    EXPECT_EQ(ParseInterfacePath(L"usb:1-1.2:if0:dev5:5a7c:b101"), plain);
}

class ForeignPath : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(ForeignPath, NamesNoInterface) {
    EXPECT_EQ(ParseInterfacePath(GetParam()), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ForeignPath,
    ::testing::Values(L"", L"usb:", L"usb:1-1.2:if0:dev5:5a7c", L"usb:1-1.2:if0:dev5:5a7c:b101:",
                      L"usb:1-1.2:if0:dev5:5A7C:b101", L"usb:01-1.2:if0:dev5:5a7c:b101",
                      L"usb:1-1.02:if0:dev5:5a7c:b101", L"usb:256-1:if0:dev5:5a7c:b101",
                      L"usb:1-:if0:dev5:5a7c:b101", L"usb:1-1..2:if0:dev5:5a7c:b101",
                      L"usb:1-1.2.3.4.5.6.7.8:if0:dev5:5a7c:b101", L"usb:1-1:if0:dev5:5a7c:b1011",
                      L"usb:1-1:if0:dev5:5a7c:b10", L"usb:1-1:if-1:dev5:5a7c:b101",
                      L"usb:1-1:if0:dev5:5a7c:b101\u00e9",
                      L"\\\\?\\usb#vid_5a7c&pid_b101#SER0#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"));

}  // namespace
}  // namespace fwup::libusb
