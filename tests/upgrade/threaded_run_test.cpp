// A whole upgrade the way the program runs it: the Start button on the window thread hands the run
// to the upgrade worker, which reports through RunOnWindowThread while the window thread keeps
// making requests of its own. Built with ThreadSanitizer (the linux-tsan preset) this is the run
// that shows whether the two threads share anything unguarded.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/common/program_services.h"
#include "device/interface_source.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"
#include "fakes/instant_clock.h"
#include "fakes/recording_dialog_surface.h"
#include "fakes/recording_notice_output.h"
#include "fakes/temp_log_dir.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_test_support.h"
#include "protocol/printer_queries.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/upgrade_start.h"
#include "upgrade/print_queues.h"
#include "upgrade/printer_selection.h"
#include "upgrade/run_status.h"
#include "upgrade/upgrade_run_fixture.h"

namespace fwup {
namespace {

using testing::ExampleScenario;
using testing::ForgetRunState;
using testing::RecordingDialogSurface;
using testing::RecordingSurfaceFactory;

class ThreadedRunTest : public ::testing::Test {
  protected:
    ~ThreadedRunTest() override {
        worker_.Wait();
        window_.reset();
        ForgetRunState();
    }

    void Attach(const std::string& file) {
        source_ = std::make_unique<SimInterfaceSource>(ExampleScenario(file));
        installed_.emplace(ProgramServices{.interfaces = source_.get()});
    }

    void Open() {
        window_.emplace(surface_, factory_,
                        MainWindowHooks{.selectLanguage = [] { UiLangId.store(LANG_ENGLISH); },
                                        .queryOsVersion = {},
                                        .onStart =
                                            [this](CVevaVoRirizevDlg& window) {
                                                OnBnClickedStart(window, worker_);
                                            }});
        surface_.FireInit();
    }

    // What the window thread reads while the worker runs: the progress bar, through the same
    // request path the worker uses. True once the run has ended, false after `limit`.
    bool WatchUntilTheRunEnds(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            int position = -1;
            EXPECT_TRUE(surface_.RunOnWindowThread(
                [&] { position = surface_.Control(kIdProgress).progressPos; }));
            EXPECT_GE(position, 0);
            EXPECT_LE(position, 100);
            if (!bUpgrading.load()) {
                return true;
            }
            std::this_thread::yield();
        }
        return false;
    }

    RecordingDialogSurface surface_;  // constructed here: this thread is its window thread
    testing::InstantClock clock_;
    testing::RecordingNoticeOutput notices_;
    testing::TempLogDir log_;
    std::unique_ptr<SimInterfaceSource> source_;
    std::optional<InstalledServices> installed_;
    RecordingSurfaceFactory factory_;
    std::optional<CVevaVoRirizevDlg> window_;
    UpgradeWorker worker_;
};

TEST_F(ThreadedRunTest, StartRunsTheUpgradeOnTheWorkerToSuccess) {
    Attach("one-printer-ready.json");
    Open();

    surface_.FireCommand(kIdStart);
    ASSERT_TRUE(WatchUntilTheRunEnds(std::chrono::seconds(60)));
    worker_.Wait();

    EXPECT_TRUE(factory_.finished.empty()) << "a ready printer with older firmware asks nothing";
    EXPECT_FALSE(surface_.Control(kIdStart).visible);
    EXPECT_FALSE(surface_.Control(kIdProgress).visible);
    EXPECT_EQ(surface_.Control(kIdProgress).progressPos, 100);
    EXPECT_EQ(surface_.Control(kIdResult).text, GetLangText(TXT_SUCCEEDED));
    EXPECT_EQ(surface_.Control(kIdResultPicture).image, kIdbSucceeded);
    EXPECT_TRUE(surface_.Control(kIdExit).visible);
    EXPECT_EQ(surface_.Control(kIdExit).text, GetLangText(TXT_COMPLETE));
    EXPECT_TRUE(surface_.closeItemPresent);
    EXPECT_GT(surface_.windowThreadRequests, 0);
    EXPECT_EQ(surface_.unmarshalledCalls, 0);

    ASSERT_NE(source_->printer(0), nullptr);
    const std::vector<ReceivedJob> jobs = source_->printer(0)->Jobs();
    ASSERT_GE(jobs.size(), 3u);
    EXPECT_EQ(jobs[2], testing::FirmwareJobOf(testing::EmbeddedPackage(kPackagePlainId)));
    // Then the window followed the printer, which never left: asked, never sent anything more,
    // until the wait's bound.
    for (std::size_t i = 3; i < jobs.size(); ++i) {
        EXPECT_NE(jobs[i].kind, JobKind::kFirmware) << "job " << i;
    }
    EXPECT_EQ(surface_.Control(kIdFollow).text, GetLangText(TXT_FOLLOW_NOT_BACK));

    // Finished, the window closes.
    EXPECT_TRUE(surface_.FireCloseRequest());
}

// Holds a run at its print-queue lookup until the test lets it go on, so that it is still active
// whatever the scheduler does. The hold gives up after a while: a second run that waits for the
// first (as a click without the guard does) then shows as a failure, not as a test that hangs.
class HeldPrintQueues final : public PrintQueueSource {
  public:
    std::optional<std::vector<PrintQueue>> ListQueues() override {
        released_.wait_for(std::chrono::seconds(10));
        return std::vector<PrintQueue>{};
    }
    void Release() { release_.set_value(); }

  private:
    std::promise<void> release_;
    std::shared_future<void> released_ = release_.get_future().share();
    const InstalledServices installed_{{.printQueues = this}};
};

// Two clicks on Start as close together as the window thread delivers them: the second arrives
// before the worker has even locked the window, and must not start a second run.
TEST_F(ThreadedRunTest, TwoClicksInARowStartOneRun) {
    HeldPrintQueues queues;
    Attach("one-printer-ready.json");
    Open();

    surface_.FireCommand(kIdStart);
    surface_.FireCommand(kIdStart);
    queues.Release();
    ASSERT_TRUE(WatchUntilTheRunEnds(std::chrono::seconds(60)));
    worker_.Wait();

    // Whatever the window asks while it follows the printer comes after the one firmware job.
    std::size_t statusJobs = 0;
    std::size_t firmwareJobs = 0;
    for (const ReceivedJob& job : source_->printer(0)->Jobs()) {
        firmwareJobs += job.kind == JobKind::kFirmware ? 1 : 0;
        statusJobs += job.kind == JobKind::kStatus && firmwareJobs == 0 ? 1 : 0;
    }
    EXPECT_EQ(statusJobs, 1u) << "one run";
    EXPECT_EQ(firmwareJobs, 1u) << "one run";
    EXPECT_EQ(surface_.Control(kIdResult).text, GetLangText(TXT_SUCCEEDED));
}

}  // namespace
}  // namespace fwup
