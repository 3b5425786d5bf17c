// The main window's logic on the Qt surface: its looks as Qt widgets, the buttons, closing while
// a run is active, and status reports from a worker thread.

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <cstdint>

#include "fakes/instant_clock.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/qt/qt_dialog_surface.h"
#include "ui/qt/qt_test_support.h"
#include "ui/qt/texts_fit.h"
#include "ui/window_looks.h"
#include "upgrade/run_status.h"

namespace fwup::testing {
namespace {

QString Text(int id) {
    return QString::fromStdWString(GetLangText(id))
        .replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// A main window in a chosen language, with a Start hook that counts.
struct MainWindowRig {
    explicit MainWindowRig(std::uint16_t language = LANG_ENGLISH)
        : dialog(surface, factory,
                 MainWindowHooks{.selectLanguage = [language] { UiLangId.store(language); },
                                 .queryOsVersion = {},
                                 .onStart = [this](CVevaVoRirizevDlg&) { ++starts; },
                                 .listPrinters = [this] { return printers; }}) {}

    QDialog* Window() const { return surface.Window(); }
    template <typename Widget>
    Widget* Control(int id) const {
        return qobject_cast<Widget*>(surface.ControlWidget(id));
    }
    QPushButton* Exit() const { return Control<QPushButton>(kIdExit); }
    QPushButton* Start() const { return Control<QPushButton>(kIdStart); }

    QtDialogSurfaceFactory factory;
    QtDialogSurface surface{kMainDialogTemplate};
    int starts = 0;
    DeviceList printers;  // what the idle look lists
    CVevaVoRirizevDlg dialog;
};

}  // namespace

class QtMainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() {
        bUpgrading.store(false);
        UiLangId.store(0);
    }

    void idleLookShowsTipsStepsAndStart() {
        MainWindowRig rig;
        WhenModal(rig.surface, [&] {
            QVERIFY(QTest::qWaitForWindowExposed(rig.Window()));
            QCOMPARE(rig.Window()->windowTitle(), Text(TXT_TITLE));
            QVERIFY(!rig.Window()->windowIcon().isNull());
            QCOMPARE(rig.Window()->palette().color(QPalette::Window), QColor(236, 237, 236));
            QVERIFY(rig.Start()->isVisible());
            QCOMPARE(rig.Start()->text(), Text(TXT_START));
            QVERIFY(!rig.Exit()->isVisible());
            auto* tips = rig.Control<QTextEdit>(kIdTips);
            QVERIFY(tips->isVisible() && tips->isReadOnly());
            QCOMPARE(tips->toPlainText(),
                     Text(TXT_TIPS) +
                         QStringLiteral("Viruzu TQ3800HKS series\nViruzu TQ3800HKR series\n"));
            QCOMPARE(rig.Control<QLabel>(kIdNotice)->text(), Text(TXT_STEPS));
            QVERIFY(!rig.Control<QProgressBar>(kIdProgress)->isVisible());

            QTest::mouseClick(rig.Start(), Qt::LeftButton);
            QCOMPARE(rig.starts, 1);
            QVERIFY(rig.Window()->isVisible());  // Start never ends the window

            QTest::keyClick(rig.Window(), Qt::Key_Escape);
        });
        QCOMPARE(rig.dialog.DoModal(), kIdExit);
        QVERIFY(pMainDlg.load() == nullptr);
    }

    // In every language, idle and in each result look, every control stays inside the window,
    // every text fits its control (no word cut off, no line below its bottom edge, nothing
    // scrolled out of the tips box) and the font drawing it has every letter of it.
    void textsFitTheirControlsInEveryLanguage_data() { AddLanguageRows(); }
    void textsFitTheirControlsInEveryLanguage() {
        QFETCH(int, language);
        const auto checkWindow = [](QWidget* window, const char* look) {
            const QRect client = window->rect();
            for (QWidget* child : window->findChildren<QWidget*>()) {
                if (!child->isVisibleTo(window) || child->parentWidget() != window) {
                    continue;
                }
                QVERIFY2(client.contains(child->geometry()), look);
                // The texts take the table's face (id 19); the buttons the template's font.
                const QString problem =
                    WhatDoesNotFit(child, qobject_cast<QPushButton*>(child) == nullptr);
                QVERIFY2(problem.isEmpty(),
                         qPrintable(QStringLiteral("%1: %2").arg(look, problem)));
            }
        };
        {
            // No printer: the line says how to attach one, in the list's room as well.
            MainWindowRig none(static_cast<std::uint16_t>(language));
            WhenModal(none.surface, [&] {
                checkWindow(none.Window(), "idle, no printer");
                none.surface.EndDialog(kIdExit);
            });
            none.dialog.DoModal();
        }
        MainWindowRig rig(static_cast<std::uint16_t>(language));
        const auto check = [&](const char* look) { checkWindow(rig.Window(), look); };
        rig.printers = TwoPrinters();
        InstantClock clock;
        WhenModal(rig.surface, [&] {
            check("idle, two printers");
            rig.dialog.ShowRunPrinter(rig.printers[1], "V2.10.8");
            // The longest figures: a rate over the first millisecond has the digits of the bytes.
            rig.dialog.ReportTransferBytes(190'000'000, 190'000'000);
            clock.Advance(1);
            rig.dialog.ShowUpgradeStatus(STATUS_TRANSFER, 40);
            rig.dialog.ShowUpgradeStatus(STATUS_TRANSFER, 100);
            check("transfer");
            rig.dialog.ShowUpgradeStatus(STATUS_SUCCEEDED, 100);
            check("success");
            rig.dialog.ShowFollow(FollowState::kWaiting, 599'000, {});
            check("success, waiting for the printer");
            rig.dialog.ShowFollow(FollowState::kCurrent, 0, "V2.10.9");
            check("success, back on the package");
            for (const FollowState state : {FollowState::kNotBack, FollowState::kUnknown}) {
                rig.dialog.ShowFollow(state, 0, {});
                check("success, no verdict");
            }
            rig.dialog.ShowFollow(FollowState::kNotTaken, 0, "V2.10.8");
            check("failure, not taken");
            rig.dialog.ShowUpgradeStatus(STATUS_FAILED, 0);
            check("failure");
            rig.dialog.ShowUpgradeStatus(STATUS_NOT_READY, 0);
            check("not ready");
        });
        rig.dialog.DoModal();
    }

    void closingIsRefusedWhileARunIsActive_data() {
        QTest::addColumn<bool>("lockWindow");
        QTest::newRow("run flag set") << false;
        QTest::newRow("window locked by the worker") << true;
    }
    void closingIsRefusedWhileARunIsActive() {
        QFETCH(bool, lockWindow);
        MainWindowRig rig;
        WhenModal(rig.surface, [&] {
            QVERIFY(QTest::qWaitForWindowExposed(rig.Window()));
            if (lockWindow) {
                QVERIFY(RunOnWorker([&] { rig.dialog.LockWindow(); }));
                QVERIFY(!rig.Start()->isEnabled());
                QVERIFY(!rig.surface.HasCloseMenuItem());
            } else {
                bUpgrading.store(true);
            }
            QTest::keyClick(rig.Window(), Qt::Key_Escape);
            QVERIFY(!rig.Window()->close());
            rig.Window()->reject();
            QVERIFY(rig.Window()->isVisible());

            if (lockWindow) {
                QVERIFY(RunOnWorker([&] { rig.dialog.UnlockWindow(); }));
                QVERIFY(rig.Start()->isEnabled());
                QVERIFY(rig.surface.HasCloseMenuItem());
            } else {
                bUpgrading.store(false);
            }
            QVERIFY(rig.Window()->close());
        });
        QCOMPARE(rig.dialog.DoModal(), kIdExit);
    }

    // The worker reports from its own thread while the window thread keeps pumping.
    void transferAndSuccessFromTheWorker() {
        InstantClock clock;
        MainWindowRig rig;
        WhenModal(rig.surface, [&] {
            QVERIFY(RunOnWorker([&] {
                for (int percent = 10; percent <= 40; percent += 10) {
                    clock.Advance(kTransferFrameMs);  // as slow as a printer
                    rig.dialog.ShowUpgradeStatus(STATUS_TRANSFER, percent);
                }
            }));

            // Progress does not wait for the window: it shows once the window thread gets to it.
            auto* progress = rig.Control<QProgressBar>(kIdProgress);
            QTRY_COMPARE(progress->value(), 40);
            QVERIFY(progress->isVisible());
            QCOMPARE(progress->minimum(), 1);
            QVERIFY(!progress->isTextVisible());
            QCOMPARE(rig.Control<QLabel>(kIdStatus)->text(), Text(TXT_TRANSMITTING));
            QVERIFY(!rig.Start()->isVisible());
            QVERIFY(!rig.Control<QTextEdit>(kIdTips)->isVisible());

            QVERIFY(RunOnWorker([&] { rig.dialog.ShowUpgradeStatus(STATUS_SUCCEEDED, 100); }));

            QVERIFY(!progress->isVisible());
            QVERIFY(rig.Exit()->isVisible() && rig.Exit()->isEnabled());
            QCOMPARE(rig.Exit()->text(), QStringLiteral("Complete"));
            auto* picture = rig.Control<QLabel>(kIdResultPicture);
            QVERIFY(picture->isVisible());
            QCOMPARE(picture->size(), QSize(98, 93));
            QCOMPARE(rig.Control<QLabel>(kIdResult)->text(), Text(TXT_SUCCEEDED));
            QTest::mouseClick(rig.Exit(), Qt::LeftButton);
        });
        QCOMPARE(rig.dialog.DoModal(), kIdExit);
    }

    // Progress queued behind the window thread's back must never land after the final look.
    void queuedProgressNeverOverridesTheFinalLook() {
        MainWindowRig rig;
        WhenModal(rig.surface, [&] {
            QVERIFY(RunOnWorker([&] {
                for (int percent = 0; percent <= 100; ++percent) {
                    rig.dialog.ShowUpgradeStatus(STATUS_TRANSFER, percent);
                }
                rig.dialog.ShowUpgradeStatus(STATUS_FAILED, 0);
            }));
            QCoreApplication::processEvents();

            QVERIFY(!rig.Control<QProgressBar>(kIdProgress)->isVisible());
            QVERIFY(!rig.Control<QLabel>(kIdStatus)->isVisible());
            QCOMPARE(rig.Control<QLabel>(kIdResult)->text(), Text(TXT_FAILED));
            QTest::mouseClick(rig.Exit(), Qt::LeftButton);
        });
        QCOMPARE(rig.dialog.DoModal(), kIdExit);
    }

    void failureAndNotReadyLooks_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("message");
        QTest::addColumn<bool>("picture");
        QTest::newRow("failed") << STATUS_FAILED << int{TXT_RETRY_OR_CONTACT} << true;
        QTest::newRow("not ready") << STATUS_NOT_READY << int{TXT_NOT_READY} << false;
    }
    void failureAndNotReadyLooks() {
        QFETCH(int, code);
        QFETCH(int, message);
        QFETCH(bool, picture);
        MainWindowRig rig;
        WhenModal(rig.surface, [&] {
            rig.dialog.ShowUpgradeStatus(code, 0);
            auto* text = rig.Control<QLabel>(kIdMessage);
            QVERIFY(text->isVisible());
            QCOMPARE(text->text(), Text(message));
            QCOMPARE(Side(text->alignment()), Qt::AlignHCenter);
            QCOMPARE(rig.Control<QLabel>(kIdResultPicture)->isVisible(), picture);
            if (picture) {
                QCOMPARE(rig.Control<QLabel>(kIdResultPicture)->size(), QSize(97, 90));
            }
            QCOMPARE(rig.Exit()->text(), Text(TXT_EXIT));
            QTest::mouseClick(rig.Exit(), Qt::LeftButton);
        });
        QCOMPARE(rig.dialog.DoModal(), kIdExit);
    }

    // Hebrew and Arabic read right to left and align right, the bar grows from the right, and a
    // final message is still centred.
    void rightToLeftLanguagesReadRightToLeft_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("Hebrew") << int{LANG_HEBREW};
        QTest::newRow("Arabic") << int{LANG_ARABIC};
    }
    void rightToLeftLanguagesReadRightToLeft() {
        QFETCH(int, language);
        MainWindowRig rig(static_cast<std::uint16_t>(language));
        WhenModal(rig.surface, [&] {
            QCOMPARE(rig.Window()->layoutDirection(), Qt::RightToLeft);
            const QTextOption tips =
                rig.Control<QTextEdit>(kIdTips)->document()->defaultTextOption();
            QCOMPARE(tips.textDirection(), Qt::RightToLeft);
            QCOMPARE(Side(tips.alignment()), Qt::AlignRight);
            auto* notice = rig.Control<QLabel>(kIdNotice);
            // Every line reads right to left, not only the first.
            const QStringList lines = notice->text().split(QLatin1Char('\n'));
            QVERIFY(lines.size() > 3);
            for (const QString& line : lines) {
                QVERIFY(line.startsWith(QChar(0x200F)));
            }
            QCOMPARE(Side(notice->alignment()), Qt::AlignRight);
            QVERIFY(notice->alignment().testFlag(Qt::AlignAbsolute));
            QCOMPARE(rig.Control<QProgressBar>(kIdProgress)->layoutDirection(), Qt::RightToLeft);
            // Buttons keep their own direction.
            QCOMPARE(rig.Start()->layoutDirection(), Qt::LeftToRight);
            // What the logic reads back is what it set, without the reading-order mark.
            QCOMPARE(rig.surface.GetText(kIdNotice), GetLangText(TXT_STEPS));

            rig.dialog.ShowUpgradeStatus(STATUS_FAILED, 0);
            QCOMPARE(Side(rig.Control<QLabel>(kIdMessage)->alignment()), Qt::AlignHCenter);
            QTest::mouseClick(rig.Exit(), Qt::LeftButton);
        });
        QCOMPARE(rig.dialog.DoModal(), kIdExit);
    }
};

FWUP_QT_TEST_SUITE(QtMainWindowTest);

}  // namespace fwup::testing

#include "qt_main_window_test.moc"
