#include "upgrade/cups/cups_queues.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include <unistd.h>

#include "app/common/program_services.h"
#include "device/interface_source.h"
#include "device/libusb/fake_usb_backend.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"
#include "fakes/instant_clock.h"
#include "fakes/recording_dialog_surface.h"
#include "fakes/recording_notice_output.h"
#include "fakes/temp_log_dir.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/window_front_end.h"
#include "upgrade/printer_selection.h"
#include "upgrade/run_status.h"
#include "upgrade/upgrade_procedure.h"

namespace fwup::cups {
namespace {

struct UriCase {
    const char* name;
    const char* uri;
    bool usb;
    const char* serial;
    std::optional<std::uint8_t> interfaceNumber;
};

class UsbDeviceUri : public ::testing::TestWithParam<UriCase> {};

TEST_P(UsbDeviceUri, NamesThePrinterBySerialAndInterface) {
    const std::optional<libusb::UsbPrinterKey> key = UsbPrinterOfUri(GetParam().uri);
    ASSERT_EQ(key.has_value(), GetParam().usb);
    if (!key) {
        return;
    }
    EXPECT_EQ(key->serial, GetParam().serial);
    EXPECT_EQ(key->interfaceNumber, GetParam().interfaceNumber);
    EXPECT_EQ(key->vendorId, 0);
    EXPECT_EQ(key->productId, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Uris, UsbDeviceUri,
    ::testing::Values(UriCase{"serialOnly", "usb://Viruzu/TQ3800HKR%20Series?serial=SER0001", true,
                              "SER0001", std::nullopt},
                      UriCase{"serialAndInterface",
                              "usb://Viruzu/TQ3800HKS%20Series?serial=A%2fB%20C&interface=1", true,
                              "A/B C", 1},
                      UriCase{"interfaceFirstAndUnknownParameter",
                              "usb://Viruzu/X?interface=0&uuid=1234&serial=S-1", true, "S-1", 0},
                      UriCase{"ampersandInTheSerial",
                              "usb://Viruzu/X?serial=Q%201/2%253=4&5?6#7%C3%A9&interface=1", true,
                              "Q 1/2%3=4&5?6#7\xC3\xA9", 1},
                      UriCase{"noSerial", "usb://Viruzu/X", true, "", std::nullopt},
                      UriCase{"network", "ipp://host/printers/usb", false, "", std::nullopt},
                      UriCase{"usbInsideAnotherScheme", "socket://usb://x?serial=SER0001", false,
                              "", std::nullopt},
                      UriCase{"cutEscape", "usb://Viruzu/X?serial=AB%2", false, "", std::nullopt},
                      UriCase{"interfaceNotANumber", "usb://Viruzu/X?serial=A&interface=-1", false,
                              "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostPortOfDeviceUri, QueuesOfNoConnectedPrinterHaveNoPort) {
    EXPECT_EQ(HostPortOfDeviceUri("ipp://localhost/printers/x"), L"");
    EXPECT_EQ(HostPortOfDeviceUri("usb://Viruzu/TQ3800HKR%20Series?serial=NO-SUCH-PRINTER-0"), L"");
}

// libcups keeps the server per thread: a test thread of its own leaves the others untouched.
TEST(CupsQueueSource, MissingServerFailsTheListingPromptly) {
    std::optional<std::vector<PrintQueue>> queues{std::vector<PrintQueue>{}};
    const auto start = std::chrono::steady_clock::now();
    std::thread([&] {
        cupsSetServer("127.0.0.1:1");  // nothing listens there
        queues = CupsQueueSource([](std::string_view) { return L"USB001"; }).ListQueues();
        cupsSetServer(nullptr);
    }).join();
    EXPECT_FALSE(queues.has_value());
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(kServerTimeoutMs + 2000));
}

// Against the cupsd scripts/cupsd-test.sh starts: its queues FWUP_CUPSD_TEST_QUEUE and
// FWUP_CUPSD_TEST_SECOND_QUEUE (which the server lists after the first) both print to
// usb://...?serial=SER0001, as a printer's queue and the queue of its reinstalled driver do, and
// each holds one job; a third queue, for a printer that is not connected (serial SER0002), holds
// one too.
class CupsServerQueues : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* queue = std::getenv("FWUP_CUPSD_TEST_QUEUE");
        const char* second = std::getenv("FWUP_CUPSD_TEST_SECOND_QUEUE");
        if (queue == nullptr || *queue == '\0' || second == nullptr || *second == '\0') {
            GTEST_SKIP() << "no test cupsd (scripts/cupsd-test.sh runs these)";
        }
        queue_ = queue;
        secondQueue_ = second;
    }

    static std::wstring TestPort(std::string_view uri) {
        return uri.find("serial=SER0001") != std::string_view::npos ? L"USB001" : L"";
    }

    // Cancels every active job of `queue`, as a user clearing it would.
    static void CancelQueueJobs(const std::string& queue) {
        cups_job_t* jobs = nullptr;
        const int count =
            cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ACTIVE);
        ASSERT_GE(count, 0) << cupsLastErrorString();
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), jobs[i].id, 0) ==
                        IPP_STATUS_OK)
                << cupsLastErrorString();
        }
        cupsFreeJobs(count, jobs);
    }

    void CancelPrinterJobs() {
        CancelQueueJobs(queue_);
        CancelQueueJobs(secondQueue_);
    }

    // Submits a job to `queue` and holds it, as a user pausing a print would.
    static void HoldJob(const std::string& queue) {
        char path[] = "/tmp/fwup-cups-job-XXXXXX";
        const int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, "held\n", 5), 5);
        close(fd);
        cups_option_t* options = nullptr;
        const int count = cupsAddOption("job-hold-until", "indefinite", 0, &options);
        const int job =
            cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.c_str(), path, "fwup-test", count, options);
        cupsFreeOptions(count, options);
        unlink(path);
        ASSERT_GT(job, 0) << cupsLastErrorString();
    }

    // Whether `queue` holds an active job now (an earlier test may have cancelled it).
    static bool QueueHoldsJobs(const std::string& queue) {
        cups_job_t* jobs = nullptr;
        const int count =
            cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(count > 0 ? count : 0, jobs);
        return count > 0;
    }

    static void EnsureHeldJob(const std::string& queue) {
        if (!QueueHoldsJobs(queue)) {
            HoldJob(queue);
        }
    }

    // Whether `condition` holds, asked again for up to five seconds: the server takes a moment
    // to finish a cancel.
    static bool WithinFiveSeconds(const std::function<bool()>& condition) {
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    // The jobs of the queues on USB001 in the server's order, once `done` holds for them, or as
    // they are after five seconds.
    template <typename Done>
    static std::vector<std::uint32_t> JobsOnUsb001Once(CupsQueueSource& source, Done done) {
        std::vector<std::uint32_t> jobs;
        WithinFiveSeconds([&] {
            const std::optional<std::vector<PrintQueue>> queues = source.ListQueues();
            EXPECT_TRUE(queues.has_value()) << cupsLastErrorString();
            jobs.clear();
            for (const PrintQueue& queue : queues.value_or(std::vector<PrintQueue>{})) {
                if (queue.portName == L"USB001") {
                    jobs.push_back(queue.jobs);
                }
            }
            return done(jobs);
        });
        return jobs;
    }

    std::string queue_;
    std::string secondQueue_;
};

// The printer's first queue is emptied while the second, listed after it, still holds a job: the
// port stays busy until that one is cancelled too.
TEST_F(CupsServerQueues, JobsInAnyQueueOfThePrinterOccupyItsPort) {
    EnsureHeldJob(queue_);
    EnsureHeldJob(secondQueue_);
    CupsQueueSource source(TestPort);
    const std::optional<std::vector<PrintQueue>> queues = source.ListQueues();
    ASSERT_TRUE(queues.has_value()) << cupsLastErrorString();
    EXPECT_EQ(std::count_if(queues->begin(), queues->end(),
                            [](const PrintQueue& q) { return q.portName.empty() && q.jobs == 0; }),
              1)
        << "the queue of the printer that is not connected, its job not counted";

    const InstalledServices installed({.printQueues = &source});
    EXPECT_TRUE(IsPortOccupied(L"USB001"));
    // The other queue's job never occupies a port: its printer resolves to none.
    EXPECT_FALSE(IsPortOccupied(L"USB002"));
    EXPECT_FALSE(IsPortOccupied(L""));

    CancelQueueJobs(queue_);
    const std::vector<std::uint32_t> jobs = JobsOnUsb001Once(
        source, [](const std::vector<std::uint32_t>& j) { return !j.empty() && j[0] == 0; });
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0], 0u) << "the first queue is empty";
    EXPECT_GT(jobs[1], 0u) << "the second still holds its job";
    EXPECT_TRUE(IsPortOccupied(L"USB001"));

    CancelQueueJobs(secondQueue_);
    JobsOnUsb001Once(source, [](const std::vector<std::uint32_t>& j) {
        return std::all_of(j.begin(), j.end(), [](std::uint32_t n) { return n == 0; });
    });
    EXPECT_FALSE(IsPortOccupied(L"USB001"));
}

// The queue's URI names serial SER0001; the printer's USB serial string is another, and only its
// IEEE 1284 device ID names SER0001. Its held job must still occupy the printer's port.
TEST_F(CupsServerQueues, QueueNamingTheDeviceIdSerialHoldsThePrinterPort) {
    libusb::testing::FakeUsbBackend usb;
    usb.Add(1, {1}).serial = "SER0002-USB";  // USB001, its device ID names no serial
    libusb::testing::FakeUsbDevice& printer = usb.Add(1, {2}, 0xB102);
    printer.serial = "USB-STRING-SERIAL";  // USB002
    const std::string id = "MFG:Viruzu;MDL:TQ3800HKR Series;SN:SER0001;";
    std::vector<std::uint8_t> reply(2 + id.size());
    reply[1] = static_cast<std::uint8_t>(id.size() + 2);
    std::copy(id.begin(), id.end(), reply.begin() + 2);
    // Every queue's lookup may ask again.
    printer.control.assign(8, libusb::testing::Sends(reply));
    EnsureHeldJob(queue_);

    CupsQueueSource source([&usb](std::string_view uri) { return PortOfDeviceUri(usb, uri); });
    const std::optional<std::vector<PrintQueue>> queues = source.ListQueues();
    ASSERT_TRUE(queues.has_value()) << cupsLastErrorString();
    const auto onPort = std::find_if(queues->begin(), queues->end(),
                                     [](const PrintQueue& q) { return q.portName == L"USB002"; });
    ASSERT_NE(onPort, queues->end()) << "the queue is tied to the printer by its device ID";
    EXPECT_GT(onPort->jobs, 0u);
    EXPECT_EQ(std::count_if(queues->begin(), queues->end(),
                            [](const PrintQueue& q) { return !q.portName.empty(); }),
              2)
        << "both queues on the printer's URI";
}

// A whole run against the simulated printer on USB001 while the cupsd queue for it holds a job:
// the user is told the port is occupied and nothing is sent to the printer; once the queue is
// empty the same run goes on to the printer.
TEST_F(CupsServerQueues, HeldJobStopsTheUpgradeBeforeThePrinterIsAsked) {
    testing::InstantClock clock;
    testing::RecordingNoticeOutput notices;
    testing::TempLogDir log;
    Scenario scenario;
    std::string error;
    ASSERT_TRUE(LoadScenarioFile(std::string(FWUP_SCENARIO_DIR) + "/one-printer-ready.json",
                                 scenario, error))
        << error;
    SimInterfaceSource printers(std::move(scenario));
    CupsQueueSource queues(TestPort);
    const InstalledServices installed({.interfaces = &printers, .printQueues = &queues});

    testing::RecordingDialogSurface surface;
    testing::RecordingSurfaceFactory factory;
    MainWindowHooks hooks;
    hooks.selectLanguage = [] { UiLangId.store(LANG_ENGLISH); };
    std::optional<CVevaVoRirizevDlg> window;
    window.emplace(surface, factory, std::move(hooks));
    surface.FireInit();
    if (!IsPortOccupied(L"USB001")) {
        HoldJob(secondQueue_);
    }
    ASSERT_TRUE(IsPortOccupied(L"USB001"));

    factory.scripts.push_back(
        [](testing::RecordingDialogSurface& dialog) { dialog.FireCommand(kIdOk); });
    UpgradeThreadProc(&*window, AfterTransfer::kEndRun);
    ASSERT_EQ(factory.finished.size(), 1u);
    EXPECT_EQ(factory.finished[0].controls.at(kIdMessageText).text, GetLangText(TXT_PORT_OCCUPIED));
    EXPECT_TRUE(printers.printer(0)->Jobs().empty()) << "no printer traffic beyond discovery";
    EXPECT_TRUE(printers.printer(0)->Events().empty());

    CancelPrinterJobs();
    ASSERT_TRUE(WithinFiveSeconds([] { return !IsPortOccupied(L"USB001"); }))
        << "the port is still occupied";
    UpgradeThreadProc(&*window, AfterTransfer::kEndRun);
    EXPECT_EQ(factory.finished.size(), 1u) << "no new message: the run went on";
    ASSERT_FALSE(printers.printer(0)->Jobs().empty());
    EXPECT_EQ(printers.printer(0)->Jobs().front().kind, JobKind::kStatus);

    window.reset();
    theDeviceList.clear();
    bUpgrading.store(false);
    UiLangId.store(0);
}

}  // namespace
}  // namespace fwup::cups
