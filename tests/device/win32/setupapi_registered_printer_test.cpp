#include <windows.h>

#include <setupapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "app/common/program_services.h"
#include "device/discovery.h"
#include "device/port_name.h"
#include "device/usb_open.h"
#include "device/win32/host_source_guard.h"
#include "device/win32/win32_owners.h"
#include "fakes/recording_notice_output.h"

namespace fwup {
namespace {

// Written out here rather than taken from the code under test, so a wrong class there shows.
const GUID kUsbPrintClass = {
    0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring ExpectedPath(const std::wstring& instanceId) {
    std::wstring path = L"\\\\?\\" + instanceId + L"\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    std::replace(path.begin() + 4, path.end(), L'\\', L'#');
    std::transform(path.begin(), path.end(), path.begin(), towlower);
    return path;
}

std::wstring InterfaceKeyName(const std::wstring& instanceId) {
    return L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\"
           L"{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\" +
           ConvertedInterfacePath(ExpectedPath(instanceId));
}

bool SetDword(HKEY key, const wchar_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

// A device with one enabled USB printing interface and a port number, registered in this Wine
// prefix much as the platform's class installer would, and removed again. Other test processes
// may share the prefix, so checks look for this device among whatever else is present.
class RegisteredPrinter {
  public:
    RegisteredPrinter(const std::wstring& hardId, DWORD port)
        : instanceId_(hardId + L"\\FWUPTEST" + testing::UniqueTestTag()),
          set_(SetupDiCreateDeviceInfoList(&kUsbPrintClass, nullptr)) {
        device_.cbSize = sizeof(device_);
        interface_.cbSize = sizeof(interface_);
        // SetupAPI lists only enabled ("linked") interfaces as present. Marked before the
        // interface exists, so no other process ever sees it half made.
        win32::UniqueRegistryKey control;
        if (!set_.valid() ||
            RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                            (InterfaceKeyName(instanceId_) + L"\\#\\Control").c_str(), 0, nullptr,
                            0, KEY_SET_VALUE, nullptr, control.put(), nullptr) != ERROR_SUCCESS ||
            !SetDword(control.get(), L"Linked", 1)) {
            return;
        }
        deviceRegistered_ =
            SetupDiCreateDeviceInfoW(set_.get(), instanceId_.c_str(), &kUsbPrintClass, nullptr,
                                     nullptr, 0, &device_) &&
            SetupDiRegisterDeviceInfo(set_.get(), &device_, 0, nullptr, nullptr, nullptr);
        interfaceCreated_ = deviceRegistered_ &&
                            SetupDiCreateDeviceInterfaceW(set_.get(), &device_, &kUsbPrintClass,
                                                          nullptr, 0, &interface_);
        if (!interfaceCreated_) {
            return;
        }
        // Through the platform's own call, so the key layout the lookup expects is checked
        // against where the platform puts it.
        const HKEY opened = SetupDiCreateDeviceInterfaceRegKeyW(set_.get(), &interface_, 0,
                                                                KEY_SET_VALUE, nullptr, nullptr);
        if (opened != INVALID_HANDLE_VALUE) {
            ready_ = SetDword(win32::UniqueRegistryKey(opened).get(), L"Port Number", port);
        }
    }

    ~RegisteredPrinter() {
        if (interfaceCreated_) {
            SetupDiRemoveDeviceInterface(set_.get(), &interface_);
        }
        if (deviceRegistered_) {
            SetupDiRemoveDevice(set_.get(), &device_);
        }
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, InterfaceKeyName(instanceId_).c_str());
    }

    RegisteredPrinter(const RegisteredPrinter&) = delete;
    RegisteredPrinter& operator=(const RegisteredPrinter&) = delete;

    bool ready() const { return ready_; }
    const std::wstring& instanceId() const { return instanceId_; }

  private:
    std::wstring instanceId_;
    win32::UniqueDeviceInfoSet set_;
    SP_DEVINFO_DATA device_{};
    SP_DEVICE_INTERFACE_DATA interface_{};
    bool deviceRegistered_ = false;
    bool interfaceCreated_ = false;
    bool ready_ = false;
};

// The Windows source with the paths it was asked to open recorded: a registered printer has no
// driver behind its path, so the open itself fails and only the recorded path shows the match.
class RecordingHostSource final : public InterfaceSource {
  public:
    RecordingHostSource() = default;
    RecordingHostSource(const RecordingHostSource&) = delete;
    RecordingHostSource& operator=(const RecordingHostSource&) = delete;

    std::unique_ptr<DeviceInterfaceSet> OpenSet() override { return host_->OpenSet(); }
    std::optional<std::uint32_t> PortNumber(const std::wstring& path) override {
        return host_->PortNumber(path);
    }
    UsbChannel OpenInterface(const std::wstring& path) override {
        openedPaths.push_back(path);
        return host_->OpenInterface(path);
    }

    std::vector<std::wstring> openedPaths;

  private:
    std::unique_ptr<InterfaceSource> host_ = MakeHostInterfaceSource();
    const InstalledServices installed_{{.interfaces = this}};
};

TEST(RegisteredPrinterTest, IsDiscoveredWithItsPortAndOpenedByThatPortOnly) {
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "registers devices: only in a throw-away Wine prefix";
    }
    testing::RecordingNoticeOutput notices;
    RecordingHostSource source;
    // Port numbers of this process's own, far above any real printer's.
    const DWORD port = 100000 + GetCurrentProcessId();
    RegisteredPrinter printer(L"USB\\VID_5A7C&PID_B102", port);
    RegisteredPrinter unsupported(L"USB\\VID_04B8&PID_0005", port + 1);
    ASSERT_TRUE(printer.ready());
    ASSERT_TRUE(unsupported.ready());

    DeviceList list;
    ASSERT_EQ(GetSystemDeviceList(list), kDiscoveryOk);
    const auto found = std::find_if(list.begin(), list.end(), [&](const DeviceEntry& e) {
        return e.PortName == FormatPortName(port);
    });
    ASSERT_NE(found, list.end());
    EXPECT_EQ(found->ModelName, L"Viruzu TQ3800HKS Series");

    EXPECT_EQ(OpenUSBDevice(FormatPortName(port)), nullptr);
    EXPECT_EQ(source.openedPaths, std::vector{ExpectedPath(printer.instanceId())});
    source.openedPaths.clear();
    EXPECT_EQ(OpenUSBDevice(FormatPortName(port + 1)), nullptr);
    EXPECT_TRUE(source.openedPaths.empty());
}

}  // namespace
}  // namespace fwup
