#include "device/win32/interface_detail.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace fwup::win32 {
namespace {

constexpr DWORD kOneChar = kInterfaceDetailPathOffset + sizeof(WCHAR);

class DetailSizeTest : public ::testing::TestWithParam<std::pair<DWORD, bool>> {};

TEST_P(DetailSizeTest, OnlySizesThatHoldAPathAndStayBoundedAreAllocated) {
    InterfaceDetailBuffer buffer;
    const auto [size, accepted] = GetParam();
    EXPECT_EQ(buffer.Allocate(size), accepted);
    if (accepted) {
        EXPECT_EQ(buffer.get()->cbSize, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W));
        EXPECT_EQ(buffer.size(), size);
    } else {
        EXPECT_EQ(buffer.get(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, DetailSizeTest,
                         ::testing::Values(std::pair{DWORD{0}, false},
                                           std::pair{kOneChar - 1, false},
                                           std::pair{kOneChar, true}, std::pair{kOneChar + 1, true},
                                           std::pair{kMaxInterfaceDetailBytes, true},
                                           std::pair{kMaxInterfaceDetailBytes + 1, false},
                                           std::pair{DWORD{0xFFFFFFFF}, false}));

// Fills the path area as the platform would, `text` then whatever `tail` says.
InterfaceDetailBuffer DetailHolding(const std::wstring& text, DWORD pathChars) {
    InterfaceDetailBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(kInterfaceDetailPathOffset + pathChars * sizeof(WCHAR)));
    std::memcpy(buffer.get()->DevicePath, text.data(), text.size() * sizeof(WCHAR));
    return buffer;
}

TEST(InterfaceDetailPath, IsReadUpToItsTerminatorWithinTheBuffer) {
    const std::wstring path = L"\\\\?\\usb#vid_5a7c&pid_b101#1#{guid}";
    EXPECT_EQ(DetailHolding(path + L'\0', path.size() + 1).DevicePath(), path);
    EXPECT_EQ(DetailHolding(path + L'\0' + L"junk", path.size() + 5).DevicePath(), path);
}

TEST(InterfaceDetailPath, UnterminatedOrEmptyPathIsRefused) {
    // The size given excludes the last characters of the rounded-up storage: a terminator past
    // the size must not count.
    const std::wstring path = L"\\\\?\\usb#abc";
    EXPECT_EQ(DetailHolding(path, path.size()).DevicePath(), std::nullopt);
    EXPECT_EQ(DetailHolding(L"", 1).DevicePath(), std::nullopt);
    EXPECT_EQ(InterfaceDetailBuffer().DevicePath(), std::nullopt);
}

}  // namespace
}  // namespace fwup::win32
