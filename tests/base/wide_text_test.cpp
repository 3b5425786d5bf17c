#include "base/wide_text.h"

#include <gtest/gtest.h>

namespace fwup {
namespace {

TEST(WideText, FormatsTheCoreMessageFields) {
    EXPECT_EQ(HexLower(0x31C3), L"31c3");
    EXPECT_EQ(HexLower(0), L"0");
    EXPECT_EQ(DecimalRightAligned(-12, 8), L"     -12");
    EXPECT_EQ(DecimalRightAligned(-123456789, 8), L"-123456789");
    EXPECT_EQ(DecimalZeroPadded(1, 3), L"001");
    EXPECT_EQ(DecimalZeroPadded(1234, 3), L"1234");
}

TEST(WideText, Utf8RoundTripsAndReplacesInvalidInput) {
    const std::wstring text = L"Tool show NOTICE\uFF1A\u4E2D\u6587 \u0420\u0443\u0441";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(L"\uFF1A"), "\xEF\xBC\x9A");
    EXPECT_EQ(FromUtf8("a\xC3"), L"a\uFFFD");
    EXPECT_EQ(FromUtf8("\xE0\x80\x80z"), L"\uFFFDz");
}

TEST(WideText, PrefixMatchIgnoresOnlyAsciiCase) {
    EXPECT_TRUE(
        StartsWithIgnoringAsciiCase(L"usb\\vid_5a7c&pid_b101\\x", L"USB\\VID_5A7C&PID_B101"));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase(L"USB\\VID_5A7C&PID_B10", L"USB\\VID_5A7C&PID_B101"));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase(L"\u00E9", L"\u00C9"));
}

}  // namespace
}  // namespace fwup
