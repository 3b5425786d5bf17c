// The message dialog on the Qt surface: its buttons per mode, the answers, and a question asked
// by the worker thread while the main window runs.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "ui/qt/qt_dialog_surface.h"
#include "ui/qt/qt_test_support.h"
#include "ui/qt/texts_fit.h"

namespace fwup::testing {
namespace {

// Makes Qt surfaces and remembers the last one, so that a test can reach the message dialog.
class WatchingFactory final : public DialogSurfaceFactory {
  public:
    std::unique_ptr<DialogSurface> CreateSurface(const DialogTemplate& dialog,
                                                 DialogSurface* owner) override {
        auto surface =
            std::make_unique<QtDialogSurface>(dialog, dynamic_cast<QtDialogSurface*>(owner));
        last = surface.get();
        return surface;
    }
    // The message dialog while it runs.
    QtDialogSurface* Running() const {
        return last != nullptr && last->Window() != nullptr && last->Window()->isVisible()
                   ? last
                   : nullptr;
    }
    QtDialogSurface* last = nullptr;
};

struct MessageRig {
    explicit MessageRig(std::uint16_t language = LANG_ENGLISH)
        : dialog(surface, factory,
                 MainWindowHooks{.selectLanguage = [language] { UiLangId.store(language); }}) {}

    // Acts on the message dialog as soon as it shows, then ends it if `act` left it open.
    void WhenMessageShows(std::function<void(QtDialogSurface&)> act) {
        auto* poll = new QTimer(surface.Window());
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, act = std::move(act)] {
            QtDialogSurface* message = factory.Running();
            if (message == nullptr) {
                return;
            }
            poll->stop();
            act(*message);
            message->EndDialog(kAbandoned);
        });
        poll->start();
    }

    QPushButton* Button(QtDialogSurface& message, int id) const {
        return qobject_cast<QPushButton*>(message.ControlWidget(id));
    }

    WatchingFactory factory;
    QtDialogSurface surface{kMainDialogTemplate};
    CVevaVoRirizevDlg dialog;
};

}  // namespace

class QtMessageDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { UiLangId.store(0); }

    void answers_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("expected");
        QTest::newRow("Confirm") << MSG_MODE_OK << "ok" << MSG_RESULT_OK;
        QTest::newRow("Escape on a notice") << MSG_MODE_OK << "escape" << MSG_RESULT_OK;
        QTest::newRow("Yes") << MSG_MODE_YESNO << "yes" << MSG_RESULT_YES;
        QTest::newRow("No") << MSG_MODE_YESNO << "no" << MSG_RESULT_NO;
        QTest::newRow("Escape on a question is No") << MSG_MODE_YESNO << "escape" << MSG_RESULT_NO;
        QTest::newRow("Return starts on No") << MSG_MODE_YESNO << "return" << MSG_RESULT_NO;
        QTest::newRow("closed by the window manager") << MSG_MODE_YESNO << "close" << MSG_RESULT_NO;
    }
    void answers() {
        QFETCH(int, mode);
        QFETCH(QString, action);
        QFETCH(int, expected);
        MessageRig rig;
        int answer = 0;
        WhenModal(rig.surface, [&] {
            rig.WhenMessageShows([&](QtDialogSurface& message) {
                const bool question = mode == MSG_MODE_YESNO;
                QCOMPARE(rig.Button(message, kIdOk)->isVisible(), !question);
                QCOMPARE(rig.Button(message, kIdYes)->isVisible(), question);
                QCOMPARE(rig.Button(message, kIdNo)->isVisible(), question);
                QCOMPARE(rig.Button(message, kIdOk)->text(), QStringLiteral("Confirm"));
                QCOMPARE(rig.Button(message, kIdNo)->geometry(),
                         rig.Button(message, kIdOk)->geometry());
                QVERIFY(rig.Button(message, kIdYes)->x() < rig.Button(message, kIdNo)->x());

                QDialog* window = message.Window();
                if (action == QLatin1String("ok")) {
                    QTest::mouseClick(rig.Button(message, kIdOk), Qt::LeftButton);
                } else if (action == QLatin1String("yes")) {
                    QTest::mouseClick(rig.Button(message, kIdYes), Qt::LeftButton);
                } else if (action == QLatin1String("no")) {
                    QTest::mouseClick(rig.Button(message, kIdNo), Qt::LeftButton);
                } else if (action == QLatin1String("escape")) {
                    QTest::keyClick(window, Qt::Key_Escape);
                } else if (action == QLatin1String("return")) {
                    QTest::keyClick(window, Qt::Key_Return);
                } else {
                    QVERIFY(window->close());
                }
            });
            answer = rig.dialog.ShowMessage(L"A message", mode);
        });
        rig.dialog.DoModal();
        QCOMPARE(answer, expected);
    }

    // Every message the upgrade shows, in every language, fits the dialog with its buttons.
    void everyMessageFitsInEveryLanguage_data() { AddLanguageRows(); }
    void everyMessageFitsInEveryLanguage() {
        QFETCH(int, language);
        MessageRig rig(static_cast<std::uint16_t>(language));
        WhenModal(rig.surface, [&] {
            for (const int id : {TXT_NOT_CONNECTED, TXT_VERSION_SAME, TXT_PORT_OCCUPIED,
                                 TXT_FW_UNRECOGNIZED, TXT_PRINTER_IN_USE, TXT_LOW_BATTERY}) {
                const int mode = id == TXT_VERSION_SAME ? MSG_MODE_YESNO : MSG_MODE_OK;
                rig.WhenMessageShows([&](QtDialogSurface& message) {
                    for (const int control : {kIdMessageText, kIdOk, kIdYes, kIdNo}) {
                        QWidget* widget = message.ControlWidget(control);
                        if (widget->isVisible()) {
                            const QString problem = WhatDoesNotFit(widget, false);
                            QVERIFY2(problem.isEmpty(), qPrintable(problem));
                        }
                    }
                });
                const std::wstring text = GetLangText(id);
                rig.dialog.ShowMessage(text.c_str(), mode);
            }
        });
        rig.dialog.DoModal();
    }

    // The worker asks; the dialog runs on the window thread, above the main window, which takes
    // no input meanwhile.
    void questionFromTheWorker() {
        MessageRig rig;
        int answer = 0;
        WhenModal(rig.surface, [&] {
            rig.WhenMessageShows([&](QtDialogSurface& message) {
                QDialog* window = message.Window();
                QCOMPARE(window->parentWidget(), rig.surface.Window());
                QCOMPARE(QApplication::activeModalWidget(), window);
                QCOMPARE(window->palette().color(QPalette::Window), QColor(Qt::white));
                QCOMPARE(qobject_cast<QLabel*>(message.ControlWidget(kIdMessageText))->text(),
                         QString::fromStdWString(GetLangText(TXT_VERSION_SAME)));
                QCOMPARE(message.ControlWidget(kIdUnaddressed)->size(), QSize(45, 40));
                QTest::mouseClick(rig.Button(message, kIdYes), Qt::LeftButton);
            });
            QVERIFY(RunOnWorker([&] {
                const std::wstring text = GetLangText(TXT_VERSION_SAME);
                answer = ShowMsgDlg(text.c_str(), MSG_MODE_YESNO);
            }));
        });
        rig.dialog.DoModal();
        QCOMPARE(answer, MSG_RESULT_YES);
    }
};

FWUP_QT_TEST_SUITE(QtMessageDialogTest);

}  // namespace fwup::testing

#include "qt_message_dialog_test.moc"
