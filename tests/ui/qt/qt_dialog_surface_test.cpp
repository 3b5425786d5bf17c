// The Qt dialog surface on its own: template conversion, which user action reaches the logic as
// which event, requests from other threads, the close item, lists and fonts.

#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <thread>
#include <vector>

#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/qt_dialog_surface.h"
#include "ui/qt/qt_fonts.h"
#include "ui/qt/qt_test_support.h"

namespace fwup::testing {
namespace {

// Records what reaches the logic; close requests get the answer the test sets.
class CountingListener final : public DialogListener {
  public:
    std::vector<int> commands;
    int cancels = 0;
    int closeRequests = 0;
    int inits = 0;
    bool allowClose = false;
    DialogSurface* surface = nullptr;

    void OnInit() override { ++inits; }
    void OnCommand(int id) override { commands.push_back(id); }
    void OnCancel() override { ++cancels; }
    bool OnCloseRequest() override {
        ++closeRequests;
        if (allowClose && surface != nullptr) {
            surface->EndDialog(kIdExit);
        }
        return allowClose;
    }
    void OnFocus() override {}
};

}  // namespace

class QtDialogSurfaceTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { UiLangId.store(0); }

    void dialogUnitsRoundLikeThePlatform_data() {
        QTest::addColumn<int>("units");
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("divisor");
        QTest::addColumn<int>("pixels");
        // x * base / 4 (or y * base / 8), rounded half up: 2 * 7 / 4 = 3.5 gives 4.
        QTest::newRow("half rounds up") << 2 << 7 << 4 << 4;
        QTest::newRow("below half rounds down") << 3 << 7 << 4 << 5;
        QTest::newRow("vertical") << 228 << 14 << 8 << 399;
    }
    void dialogUnitsRoundLikeThePlatform() {
        QFETCH(int, units);
        QFETCH(int, base);
        QFETCH(int, divisor);
        QFETCH(int, pixels);
        const DialogBaseUnits baseUnits =
            divisor == 4 ? DialogBaseUnits{base, 1} : DialogBaseUnits{1, base};
        const QRect rect = DialogUnitsToPixels({units, units, units, units}, baseUnits);
        QCOMPARE(divisor == 4 ? rect.x() : rect.y(), pixels);
        QCOMPARE(divisor == 4 ? rect.width() : rect.height(), pixels);
    }

    // The Exit button and the cancel key share command 2 on the platform; the logic must still
    // be able to tell them apart, and no key, close or reject may end the dialog by itself.
    void userActionsReachTheLogicAsTheirOwnEvents() {
        QtDialogSurface surface(kMainDialogTemplate);
        CountingListener listener;
        surface.SetListener(&listener);
        WhenModal(surface, [&] {
            QDialog* window = surface.Window();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            auto* exitButton = qobject_cast<QPushButton*>(surface.ControlWidget(kIdExit));
            auto* startButton = qobject_cast<QPushButton*>(surface.ControlWidget(kIdStart));

            QTest::mouseClick(exitButton, Qt::LeftButton);
            QCOMPARE(listener.commands, std::vector<int>{kIdExit});
            QCOMPARE(listener.cancels, 0);

            QTest::keyClick(window, Qt::Key_Escape);
            window->reject();
            QCOMPARE(listener.cancels, 2);
            QCOMPARE(listener.commands.size(), std::size_t{1});

            // Return is the focused button's command, otherwise the default command 1.
            startButton->setFocus();
            QTest::keyClick(window, Qt::Key_Return);
            window->setFocus();
            QTest::keyClick(window, Qt::Key_Return);
            QCOMPARE(listener.commands, (std::vector<int>{kIdExit, kIdStart, 1}));

            QVERIFY(!window->close());
            QCOMPARE(listener.closeRequests, 1);
            QVERIFY(window->isVisible());

            listener.surface = &surface;
            listener.allowClose = true;
            QVERIFY(window->close());
        });
        QCOMPARE(surface.RunModal(), kIdExit);
        QCOMPARE(listener.inits, 1);
    }

    void requestsFromOtherThreadsRunOnTheWindowThread() {
        QtDialogSurface surface(kMainDialogTemplate);
        QThread* const windowThread = QThread::currentThread();
        WhenModal(surface, [&] {
            bool inline_ = false;
            QVERIFY(surface.RunOnWindowThread([&] { inline_ = true; }));
            QVERIFY(inline_);

            QThread* ranOn = nullptr;
            bool accepted = false;
            QVERIFY(RunOnWorker([&] {
                accepted = surface.RunOnWindowThread([&] {
                    ranOn = QThread::currentThread();
                    surface.SetText(kIdStart, L"from the worker");
                });
            }));
            QVERIFY(accepted);
            QCOMPARE(ranOn, windowThread);
            QCOMPARE(surface.GetText(kIdStart), std::wstring(L"from the worker"));
        });
        surface.RunModal();

        // The window is gone: nothing runs, on either thread.
        bool ran = false;
        QVERIFY(!surface.RunOnWindowThread([&] { ran = true; }));
        bool workerAccepted = true;
        std::thread([&] {
            workerAccepted = surface.RunOnWindowThread([&] { ran = true; });
        }).join();
        QVERIFY(!workerAccepted);
        QVERIFY(!ran);
    }

    // Without the close item the window manager's close button goes and closing is refused
    // before the logic is even asked.
    void closeItemControlsTheCloseButton() {
        QtDialogSurface surface(kMainDialogTemplate);
        CountingListener listener;
        surface.SetListener(&listener);
        WhenModal(surface, [&] {
            QDialog* window = surface.Window();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QVERIFY(surface.HasCloseMenuItem());
            QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));

            QVERIFY(surface.RemoveCloseMenuItem());
            QVERIFY(!surface.HasCloseMenuItem());
            QVERIFY(surface.CloseMenuItemCaption().empty());
            QVERIFY(!window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(window->isVisible());  // flags changed without re-creating the window
            QVERIFY(!window->close());
            QCOMPARE(listener.closeRequests, 0);

            QVERIFY(surface.AppendCloseMenuItem(L"Close"));
            QVERIFY(surface.HasCloseMenuItem());
            QCOMPARE(surface.CloseMenuItemCaption(), std::wstring(L"Close"));
            QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(!window->close());
            QCOMPARE(listener.closeRequests, 1);
        });
        surface.RunModal();

        // The message dialog has no system menu and so no close item to take away.
        QtDialogSurface message(kMessageDialogTemplate);
        QVERIFY(!message.HasCloseMenuItem());
        QVERIFY(!message.RemoveCloseMenuItem());
        QVERIFY(!message.AppendCloseMenuItem(L"Close"));
    }

    // The printer list keeps entries where they are put and selects nothing unasked, unlike a
    // plain QComboBox.
    void dropDownListKeepsIndicesAndSelection() {
        QtDialogSurface surface(kMainDialogTemplate);
        WhenModal(surface, [&] {
            surface.InsertItem(kIdPrinters, 0, L"second");
            QCOMPARE(surface.GetCurSel(kIdPrinters), -1);
            surface.InsertItem(kIdPrinters, 0, L"first");
            surface.InsertItem(kIdPrinters, 2, L"third");
            auto* list = qobject_cast<QComboBox*>(surface.ControlWidget(kIdPrinters));
            QCOMPARE(list->itemText(0), QStringLiteral("first"));
            QCOMPARE(list->itemText(2), QStringLiteral("third"));
            surface.SetCurSel(kIdPrinters, 1);
            QCOMPARE(surface.GetCurSel(kIdPrinters), 1);
            surface.SetCurSel(kIdPrinters, 7);
            QCOMPARE(surface.GetCurSel(kIdPrinters), -1);
            surface.ResetItems(kIdPrinters);
            QCOMPARE(list->count(), 0);
            // Ids the window does not hold are ignored.
            surface.SetText(4242, L"nobody");
            QVERIFY(surface.GetText(4242).empty());
            QCOMPARE(surface.GetCurSel(4242), -1);
        });
        surface.RunModal();
    }

    // Sizes are pixels of a 96 DPI screen; a face this system lacks gives way to one that has
    // the script's letters.
    void fontsFollowTheirDescriptions() {
        const QFont text =
            FontFromDesc({.face = L"宋体", .pointTenths = 100}, QFontDatabase::Cyrillic);
        QCOMPARE(text.pixelSize(), 13);
        QVERIFY(QFontDatabase::writingSystems(QFontInfo(text).family())
                    .contains(QFontDatabase::Cyrillic));

        const QFont result = FontFromDesc({.face = L"Times New Roman",
                                           .height = 15,
                                           .weight = 700,
                                           .family = FontDesc::Family::kSwiss},
                                          QFontDatabase::Latin);
        QVERIFY(QFontMetrics(result).height() <= 15);
        QVERIFY(QFontMetrics(result).height() >= 12);
        QCOMPARE(result.weight(), QFont::Bold);

        QCOMPARE(TemplateFont(kMainDialogTemplate, QFontDatabase::Latin).pixelSize(), 12);
    }
};

FWUP_QT_TEST_SUITE(QtDialogSurfaceTest);

}  // namespace fwup::testing

#include "qt_dialog_surface_test.moc"
