// A whole upgrade on the Qt layer the way the program runs it: Start pressed in a real event loop
// on the offscreen platform, the run on the upgrade worker, every window call from the worker
// serviced by the window thread while it pumps, until the window shows success. Built with
// ThreadSanitizer (the linux-tsan preset) this is the run that shows whether the worker and Qt's
// GUI thread share anything unguarded.

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/common/program_services.h"
#include "device/interface_source.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"
#include "fakes/instant_clock.h"
#include "fakes/recording_notice_output.h"
#include "fakes/temp_log_dir.h"
#include "protocol/printer_queries.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/qt/qt_dialog_surface.h"
#include "ui/qt/qt_test_support.h"
#include "ui/upgrade_start.h"
#include "upgrade/printer_selection.h"
#include "upgrade/run_status.h"

namespace fwup::testing {

class QtThreadedRunTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() {
        theDeviceList.clear();
        bFwEncrypted.store(false);
        bUpgrading.store(false);
        UiLangId.store(0);
    }

    void startRunsTheUpgradeOnTheWorkerToSuccess() {
        Scenario scenario;
        std::string error;
        QVERIFY2(LoadScenarioFile(std::string(FWUP_SCENARIO_DIR) + "/one-printer-ready.json",
                                  scenario, error),
                 error.c_str());
        SimInterfaceSource source(std::move(scenario));
        const InstalledServices installed({.interfaces = &source});
        InstantClock clock;
        RecordingNoticeOutput notices;
        TempLogDir log;

        QtDialogSurfaceFactory factory;
        QtDialogSurface surface(kMainDialogTemplate);
        UpgradeWorker worker;
        CVevaVoRirizevDlg dialog(
            surface, factory,
            MainWindowHooks{
                .selectLanguage = [] { UiLangId.store(LANG_ENGLISH); },
                .queryOsVersion = {},
                .onStart =
                    [&worker](CVevaVoRirizevDlg& window) { OnBnClickedStart(window, worker); }});
        const auto control = [&surface](int id) { return surface.ControlWidget(id); };
        const QString succeeded = QString::fromStdWString(GetLangText(TXT_SUCCEEDED));

        WhenModal(surface, [&] {
            QVERIFY(QTest::qWaitForWindowExposed(surface.Window()));
            auto* start = qobject_cast<QPushButton*>(control(kIdStart));
            QVERIFY(start != nullptr && start->isVisible() && start->isEnabled());
            QTest::mouseClick(start, Qt::LeftButton);

            // The window thread only pumps events here; the worker's requests arrive through them.
            auto* exit = qobject_cast<QPushButton*>(control(kIdExit));
            auto* result = qobject_cast<QLabel*>(control(kIdResult));
            QVERIFY(exit != nullptr && result != nullptr);
            QVERIFY(QTest::qWaitFor(
                [&] {
                    return !bUpgrading.load() && exit->isVisible() && result->text() == succeeded;
                },
                120000));

            QVERIFY(!start->isVisible());
            QVERIFY(!qobject_cast<QProgressBar*>(control(kIdProgress))->isVisible());
            QCOMPARE(qobject_cast<QProgressBar*>(control(kIdProgress))->value(), 100);
            QVERIFY(qobject_cast<QLabel*>(control(kIdResultPicture))->isVisible());
            QVERIFY(exit->isEnabled());
            QCOMPARE(exit->text(), QStringLiteral("Complete"));
            QVERIFY(surface.HasCloseMenuItem());
            QTest::mouseClick(exit, Qt::LeftButton);
        });
        QCOMPARE(dialog.DoModal(), kIdExit);
        worker.Wait();

        SimPrinter* const printer = source.printer(0);
        QVERIFY(printer != nullptr);
        const std::vector<ReceivedJob> jobs = printer->Jobs();
        // The firmware job third; what follows is the window asking after the printer until
        // Complete ended the wait, never a second job.
        QVERIFY(jobs.size() >= 3);
        QVERIFY(jobs[2].kind == JobKind::kFirmware);
        QVERIFY(jobs[2].byteCount > 0);
        for (std::size_t i = 3; i < jobs.size(); ++i) {
            QVERIFY(jobs[i].kind != JobKind::kFirmware);
        }
    }
};

FWUP_QT_TEST_SUITE(QtThreadedRunTest);

}  // namespace fwup::testing

#include "qt_threaded_run_test.moc"
