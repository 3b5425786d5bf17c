#include "upgrade/printer_selection.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/fake_interface_source.h"
#include "fakes/recording_dialog_surface.h"
#include "fakes/recording_notice_output.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/window_front_end.h"

namespace fwup {
namespace {

using testing::FakeInterfaceSource;
using testing::RecordingDialogSurface;
using testing::RecordingNoticeOutput;
using testing::RecordingSurfaceFactory;

constexpr const wchar_t* kHksId = L"USB\\VID_5A7C&PID_B102";

class PrinterSelectionTest : public ::testing::Test {
  protected:
    PrinterSelectionTest() {
        window_.emplace(surface_, factory_,
                        MainWindowHooks{.selectLanguage = [] { UiLangId.store(LANG_ENGLISH); }});
        surface_.FireInit();
    }
    ~PrinterSelectionTest() override {
        window_.reset();
        UiLangId.store(0);
        theDeviceList.clear();
    }

    // As the upgrade worker does: off the window thread.
    static int RefreshOnWorker() {
        int result = 0;
        std::thread([&] {
            WindowFrontEnd frontEnd(pMainDlg.load());
            result = RefreshPrinterList(frontEnd);
        }).join();
        return result;
    }
    const std::vector<std::wstring>& Items() const { return surface_.Control(kIdPrinters).items; }
    // Each entry as "<ListIndex> <PortName>".
    static std::vector<std::wstring> Entries() {
        std::vector<std::wstring> entries;
        for (const DeviceEntry& entry : theDeviceList) {
            entries.push_back(std::to_wstring(entry.ListIndex) + L" " + entry.PortName);
        }
        return entries;
    }

    RecordingDialogSurface surface_;
    RecordingSurfaceFactory factory_;
    std::optional<CVevaVoRirizevDlg> window_;
    FakeInterfaceSource devices_;
    RecordingNoticeOutput notices_;
};

// The run's list is its own: the window's printer list is what the user chose from, and a run
// that lists again must not reorder or reselect it under the user's eyes.
TEST_F(PrinterSelectionTest, EveryCallRebuildsTheRunsListInDiscoveryOrderAndLeavesTheWindowsAlone) {
    devices_.AddPrinter(1);
    devices_.AddPrinter(2, kHksId);
    devices_.AddPrinter(3, L"USB\\VID_04B8&PID_0001");  // not supported: not listed
    const std::vector<std::wstring> shown = Items();

    EXPECT_EQ(RefreshOnWorker(), 2);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"0 USB001", L"1 USB002"}));
    EXPECT_EQ(Items(), shown);
    EXPECT_EQ(surface_.unmarshalledCalls, 0) << "the worker touched the window directly";

    devices_.interfaces.erase(devices_.interfaces.begin());
    EXPECT_EQ(RefreshOnWorker(), 1);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"0 USB002"}));

    devices_.interfaces.clear();
    EXPECT_EQ(RefreshOnWorker(), 0);
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(Items(), shown);
}

TEST_F(PrinterSelectionTest, FailedDiscoveryLeavesNothingListedEvenAfterPartialResults) {
    devices_.AddPrinter(1);
    ASSERT_EQ(RefreshOnWorker(), 1);

    // The first printer is appended before the second one's lookup fails.
    devices_.AddPrinter(2, kHksId);
    devices_.interfaces[1].idLookup = SetLookup::kFailed;
    EXPECT_EQ(RefreshOnWorker(), kErrInstanceId);
    EXPECT_TRUE(theDeviceList.empty()) << "entries without items in the printer list";
    ASSERT_FALSE(notices_.lines.empty());
    EXPECT_EQ(notices_.lines.back(), L"Tool show NOTICE\uFF1AGet system device list failed!");
}

TEST_F(PrinterSelectionTest, WithoutAWindowOnlyTheDeviceListIsBuilt) {
    window_.reset();
    ASSERT_EQ(pMainDlg.load(), nullptr);
    devices_.AddPrinter(7, kHksId);
    devices_.AddPrinter(std::nullopt);

    EXPECT_EQ(RefreshOnWorker(), 2);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"0 USB007", L"1 "}));
}

}  // namespace
}  // namespace fwup
