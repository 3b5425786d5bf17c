// The fixture of whole upgrade runs against simulated printers: the window on a recording surface,
// an instant clock, a tool log in a folder of its own, the debugger output recorded, and the print
// queues faked. Shared by the ending table and the fault matrix.

#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/common/program_services.h"
#include "base/clock.h"
#include "device/interface_source.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"
#include "fakes/fake_power_state.h"
#include "fakes/fake_print_queues.h"
#include "fakes/recording_dialog_surface.h"
#include "fakes/recording_notice_output.h"
#include "fakes/temp_log_dir.h"
#include "protocol/printer_queries.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "upgrade/power_state.h"
#include "upgrade/print_queues.h"
#include "upgrade/printer_selection.h"
#include "upgrade/run_status.h"
#include "upgrade/upgrade_transfer_guard.h"

namespace fwup::testing {

// Counts the guards taken and whether one was held while the progress bar moved.
class GuardProbe {
  public:
    class Guard final : public TransferGuard {
      public:
        explicit Guard(GuardProbe& probe) : probe_(probe) {
            ++probe_.held;
            probe_.bytesAtTake = probe_.bytesReceived();
        }
        ~Guard() override {
            --probe_.held;
            probe_.bytesAtRelease = probe_.bytesReceived();
            probe_.flashWaitsAtRelease = probe_.flashWaits();
        }

      private:
        GuardProbe& probe_;
    };

    GuardProbe() = default;
    GuardProbe(const GuardProbe&) = delete;
    GuardProbe& operator=(const GuardProbe&) = delete;

    std::function<std::uint64_t()> bytesReceived = [] { return std::uint64_t{0}; };
    std::function<int()> flashWaits = [] { return 0; };
    // Called as a guard is taken, with what the run would stop the taking on.
    std::function<void(const StopCheck&)> onTake;
    int taken = 0;
    int held = 0;
    std::uint64_t bytesAtTake = 0;
    std::uint64_t bytesAtRelease = 0;
    int flashWaitsAtRelease = 0;

  private:
    const InstalledServices installed_{{.transferGuard = [this](const StopCheck& stopped) {
        ++taken;
        if (onTake) {
            onTake(stopped);
        }
        return std::make_unique<Guard>(*this);
    }}};
};

// An instant clock that also notes the 20-second waits for flashing (the queries sleep too, in
// smaller steps) and whether the window already showed a result when one began.
class FlashWaitClock final : public Clock {
  public:
    explicit FlashWaitClock(const RecordingDialogSurface& window) : window_(window) {}
    static constexpr std::int64_t kStartMs = 1'700'000'000'000;
    FlashWaitClock(const FlashWaitClock&) = delete;
    FlashWaitClock& operator=(const FlashWaitClock&) = delete;

    std::int64_t NowSeconds() override { return nowMs_ / 1000; }
    CivilTime LocalTime(std::int64_t) override { return {}; }
    void SleepMs(std::uint32_t ms) override {
        nowMs_ += ms;
        if (ms == 20000) {
            ++flashWaits;
            finalLookBeforeWait = finalLookBeforeWait || window_.Control(kIdExit).visible;
        }
    }

    std::int64_t MonotonicMs() override { return nowMs_; }

    // The clock time spent since the clock was made: every sleep and every read time-out.
    std::int64_t ElapsedMs() const { return nowMs_ - kStartMs; }

    int flashWaits = 0;
    bool finalLookBeforeWait = false;

  private:
    const RecordingDialogSurface& window_;
    std::int64_t nowMs_ = kStartMs;
    const InstalledServices installed_{{.clock = this}};
};

enum class Look { kReady, kNotReady, kFailed, kSucceeded };

struct Message {
    int textId;
    int mode;
    int answer;  // the button the user presses
};

// What a run leaves in the process's shared state, put back for the next test.
inline void ForgetRunState() {
    theDeviceList.clear();
    bFwEncrypted.store(false);
    bUpgrading.store(false);
    UiLangId.store(0);
}

// One of the example scenario files; a file that does not load fails the test.
inline Scenario ExampleScenario(const std::string& file) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(LoadScenarioFile(std::string(FWUP_SCENARIO_DIR) + "/" + file, scenario, error))
        << error;
    return scenario;
}

class UpgradeRunTest : public ::testing::Test {
  protected:
    ~UpgradeRunTest() override {
        window_.reset();
        ForgetRunState();
    }

    void Attach(const std::string& file) { Install(ExampleScenario(file)); }

    // A scenario given as JSON text, as ParseScenario reads it.
    void AttachJson(const std::string& json) {
        Scenario scenario;
        std::string error;
        ASSERT_TRUE(ParseScenario(json, scenario, error)) << error << "\n" << json;
        Install(std::move(scenario));
    }

    void Install(Scenario scenario) {
        sourceInstalled_.reset();
        source_ = std::make_unique<SimInterfaceSource>(std::move(scenario));
        sourceInstalled_.emplace(ProgramServices{.interfaces = source_.get()});
    }

    CVevaVoRirizevDlg& Open(MainWindowHooks hooks = {}) {
        hooks.selectLanguage = [] { UiLangId.store(LANG_ENGLISH); };
        window_.emplace(surface_, factory_, std::move(hooks));
        surface_.FireInit();
        return *window_;
    }

    // Chooses, as the user would, the idle list's entry that names `serial`.
    void ChoosePrinter(std::wstring_view serial) {
        const std::vector<std::wstring>& items = surface_.Control(kIdPrinters).items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].find(serial) != std::wstring::npos) {
                surface_.UserSelects(kIdPrinters, static_cast<int>(i));
                return;
            }
        }
        ADD_FAILURE() << "no printer in the list has that serial";
    }

    void Answer(int button) {
        factory_.scripts.push_back(
            [button](RecordingDialogSurface& dialog) { dialog.FireCommand(button); });
    }

    SimPrinter* Printer() { return source_ ? source_->printer(0) : nullptr; }

    std::vector<JobKind> JobKinds() {
        std::vector<JobKind> kinds;
        if (SimPrinter* printer = Printer()) {
            for (const ReceivedJob& job : printer->Jobs()) {
                kinds.push_back(job.kind);
            }
        }
        return kinds;
    }

    const testing::RecordedControl& C(int id) const { return surface_.Control(id); }

    void ExpectLook(Look look) {
        EXPECT_FALSE(bUpgrading.load());
        EXPECT_TRUE(surface_.closeItemPresent) << "the close item comes back at every end";
        EXPECT_TRUE(C(kIdExit).enabled);
        switch (look) {
            case Look::kReady:
                EXPECT_TRUE(C(kIdStart).visible);
                EXPECT_TRUE(C(kIdStart).enabled);
                EXPECT_TRUE(C(kIdTips).visible);
                EXPECT_FALSE(C(kIdExit).visible);
                EXPECT_FALSE(C(kIdMessage).visible);
                break;
            case Look::kNotReady:
                EXPECT_FALSE(C(kIdStart).visible);
                EXPECT_TRUE(C(kIdMessage).visible);
                EXPECT_EQ(C(kIdMessage).text, GetLangText(TXT_NOT_READY));
                EXPECT_FALSE(C(kIdResultPicture).visible);
                EXPECT_EQ(C(kIdExit).text, GetLangText(TXT_EXIT));
                break;
            case Look::kFailed:
                EXPECT_FALSE(C(kIdStart).visible);
                EXPECT_EQ(C(kIdResult).text, GetLangText(TXT_FAILED));
                EXPECT_EQ(C(kIdMessage).text, GetLangText(TXT_RETRY_OR_CONTACT));
                EXPECT_EQ(C(kIdResultPicture).image, kIdbFailed);
                EXPECT_EQ(C(kIdExit).text, GetLangText(TXT_EXIT));
                break;
            case Look::kSucceeded:
                EXPECT_FALSE(C(kIdStart).visible);
                EXPECT_FALSE(C(kIdProgress).visible);
                EXPECT_EQ(C(kIdProgress).progressPos, 100);
                EXPECT_EQ(C(kIdResult).text, GetLangText(TXT_SUCCEEDED));
                EXPECT_EQ(C(kIdResultPicture).image, kIdbSucceeded);
                EXPECT_EQ(C(kIdExit).text, GetLangText(TXT_COMPLETE));
                break;
        }
        if (look != Look::kReady) {
            EXPECT_TRUE(C(kIdExit).visible);
        }
    }

    RecordingDialogSurface surface_;
    FlashWaitClock clock_{surface_};
    testing::RecordingNoticeOutput notices_;
    testing::TempLogDir log_;
    FakePrintQueues queues_;
    FakePowerState power_;
    std::unique_ptr<SimInterfaceSource> source_;
    std::optional<InstalledServices> sourceInstalled_;
    RecordingSurfaceFactory factory_;
    std::optional<CVevaVoRirizevDlg> window_;
};

}  // namespace fwup::testing
