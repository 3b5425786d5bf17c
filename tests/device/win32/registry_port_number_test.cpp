#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/unique_win32.h"
#include "device/port_name.h"
#include "device/win32/host_source_guard.h"

namespace fwup {
namespace {

// Written out by hand rather than built by the code under test, so a wrong key name shows.
const std::wstring kClassKey =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}";

bool KeyExists(const std::wstring& name) {
    win32::UniqueRegistryKey key;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// A made-up printer interface with its device-class key in this Wine prefix, removed afterwards.
class RegistryPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        classKeyExisted_ = KeyExists(kClassKey);
        UseInterface(L"usb");
    }

    // A unique made-up interface path on the bus `bus`, and its keys.
    void UseInterface(const std::wstring& bus) {
        path_ = L"\\\\?\\" + bus + L"#vid_5a7c&pid_b101#fwuptest" + testing::UniqueTestTag() +
                L"#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
        interfaceKey_ = kClassKey + L"\\" + ConvertedInterfacePath(path_);
        parametersKey_ = interfaceKey_ + L"\\#\\Device Parameters";
    }

    void TearDown() override {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, interfaceKey_.c_str());
        if (!classKeyExisted_) {
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, kClassKey.c_str());
        }
        EXPECT_FALSE(KeyExists(interfaceKey_));
    }

    void WriteValue(const wchar_t* name, DWORD type, const std::vector<std::uint8_t>& data) {
        win32::UniqueRegistryKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, parametersKey_.c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(
            RegSetValueExW(key.get(), name, 0, type, data.data(), static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
    }

    testing::HostSourceGuard host_;
    std::wstring path_;
    std::wstring interfaceKey_;
    std::wstring parametersKey_;
    bool classKeyExisted_ = false;
};

struct StoredValue {
    const char* name;  // of the test case
    DWORD type;
    std::vector<std::uint8_t> data;
    std::optional<std::wstring> portName;
};

class RegistryPortValueTest : public RegistryPortTest,
                              public ::testing::WithParamInterface<StoredValue> {};

TEST_P(RegistryPortValueTest, OnlyAFourByteDwordGivesAPortName) {
    WriteValue(L"Port Number", GetParam().type, GetParam().data);
    EXPECT_EQ(GetUSBPortName(path_), GetParam().portName);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegistryPortValueTest,
    ::testing::Values(StoredValue{"Dword1", REG_DWORD, {1, 0, 0, 0}, L"USB001"},
                      StoredValue{"Dword1000", REG_DWORD, {0xe8, 0x03, 0, 0}, L"USB1000"},
                      StoredValue{"DwordByteOrder", REG_DWORD, {4, 3, 2, 1}, L"USB16909060"},
                      StoredValue{"String", REG_SZ, {'1', 0, 0, 0}, std::nullopt},
                      StoredValue{"Qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
                      StoredValue{"TwoByteDword", REG_DWORD, {1, 0}, std::nullopt},
                      StoredValue{"BigEndian", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}, std::nullopt},
                      StoredValue{"Binary", REG_BINARY, {1, 0, 0, 0}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryPortTest, KeyWithoutThePortValueGivesNoPortName) {
    WriteValue(L"Port Description", REG_DWORD, {1, 0, 0, 0});
    EXPECT_EQ(GetUSBPortName(path_), std::nullopt);
}

TEST_F(RegistryPortTest, MissingKeyGivesNoPortNameAndIsNotCreated) {
    EXPECT_EQ(GetUSBPortName(path_), std::nullopt);
    EXPECT_EQ(host_.source().PortNumber(path_), std::nullopt);
    EXPECT_FALSE(KeyExists(parametersKey_));
    EXPECT_FALSE(KeyExists(interfaceKey_));
}

TEST_F(RegistryPortTest, Dot4InterfaceGetsNoPortNameEvenWithAPortNumber) {
    UseInterface(L"dot4");
    WriteValue(L"Port Number", REG_DWORD, {1, 0, 0, 0});
    EXPECT_EQ(GetUSBPortName(path_), std::nullopt);
}

}  // namespace
}  // namespace fwup
