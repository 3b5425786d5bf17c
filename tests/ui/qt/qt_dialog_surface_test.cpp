// The Qt dialog surface on its own: template conversion, the Return key, the close button and
// fonts. What every surface promises is tested by the contract (qt_surface_contract_test.cpp).

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/qt_dialog_surface.h"
#include "ui/qt/qt_fonts.h"
#include "ui/qt/qt_test_support.h"

namespace fwup::testing {
namespace {

// Records what reaches the logic; every close request is refused.
class CountingListener final : public DialogListener {
  public:
    std::vector<int> commands;
    int cancels = 0;
    int closeRequests = 0;
    int selectionChanges = 0;

    void OnInit() override {}
    void OnCommand(int id) override { commands.push_back(id); }
    void OnCancel() override { ++cancels; }
    void OnSelectionChange(int) override { ++selectionChanges; }
    bool OnCloseRequest() override {
        ++closeRequests;
        return false;
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

    // Return is the focused button's command, otherwise the default command 1. (What every
    // surface does with the user's other actions is the contract's, dialog_surface_contract.h.)
    void returnIsTheFocusedButtonOrTheDefaultCommand() {
        QtDialogSurface surface(kMainDialogTemplate);
        CountingListener listener;
        surface.SetListener(&listener);
        WhenModal(surface, [&] {
            QDialog* window = surface.Window();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            auto* startButton = qobject_cast<QPushButton*>(surface.ControlWidget(kIdStart));
            startButton->setFocus();
            QTest::keyClick(window, Qt::Key_Return);
            window->setFocus();
            QTest::keyClick(window, Qt::Key_Return);
            QCOMPARE(listener.commands, (std::vector<int>{kIdStart, 1}));
            QCOMPARE(listener.cancels, 0);
            QVERIFY(window->isVisible());
        });
        surface.RunModal();
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
            QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));

            QVERIFY(surface.RemoveCloseMenuItem());
            QVERIFY(!window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(window->isVisible());  // flags changed without re-creating the window
            QVERIFY(!window->close());
            QCOMPARE(listener.closeRequests, 0);

            QVERIFY(surface.AppendCloseMenuItem(L"Close"));
            QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(!window->close());
            QCOMPARE(listener.closeRequests, 1);
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

    // The template's height of a drop-down list is its dropped height: the control itself keeps
    // the height of one line, in the dialog's font. Tab reaches it; F4 opens it, and Escape on
    // the open list closes the list, not the dialog. Right-to-left it reads from the right.
    void dropDownListIsALineHighAndTheKeyboardsToOpen() {
        QtDialogSurface surface(kMainDialogTemplate);
        CountingListener listener;
        surface.SetListener(&listener);
        WhenModal(surface, [&] {
            QDialog* window = surface.Window();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            auto* list = qobject_cast<QComboBox*>(surface.ControlWidget(kIdPrinters));
            QVERIFY(list != nullptr);
            surface.Show(kIdPrinters, true);
            for (int i = 0; i < 5; ++i) {
                surface.InsertItem(kIdPrinters, i, L"Printer " + std::to_wstring(i + 1));
            }
            QCOMPARE(list->height(), list->sizeHint().height());
            QCOMPARE(list->font(), window->font());
            QVERIFY(list->focusPolicy() & Qt::TabFocus);

            list->setFocus();
            QTest::keyClick(list, Qt::Key_F4);
            QVERIFY(QTest::qWaitFor([&] { return list->view()->isVisible(); }));
            QTest::keyClick(list->view(), Qt::Key_Escape);
            QVERIFY(QTest::qWaitFor([&] { return !list->view()->isVisible(); }));
            QCOMPARE(listener.cancels, 0);
            QVERIFY(window->isVisible());

            // Moved as the platform moves it, with its dropped height.
            surface.Move(kIdPrinters, {20, 30, 150, 200});
            QCOMPARE(list->geometry(), QRect(20, 30, 150, list->sizeHint().height()));

            surface.ChangeStyle(kIdPrinters, kStyleNone, kStyleRtlReading | kStyleAlignRight);
            QCOMPARE(list->layoutDirection(), Qt::RightToLeft);
            surface.ChangeStyle(kIdPrinters, kStyleRtlReading | kStyleAlignRight, kStyleNone);
            QCOMPARE(list->layoutDirection(), Qt::LeftToRight);
        });
        surface.RunModal();
    }

    // A screen reader reads the list by the name the logic gives it while it shows no entry (on
    // Linux Qt names a combo box by the entry it shows, as the desktop's screen readers expect),
    // and reads the entry as its value. (Qt itself tells of a new name or description, through a
    // platform that has assistive technology: the offscreen one has none.)
    void dropDownListIsNamedForScreenReaders() {
        QtDialogSurface surface(kMainDialogTemplate);
        WhenModal(surface, [&] {
            QVERIFY(QTest::qWaitForWindowExposed(surface.Window()));
            QWidget* list = surface.ControlWidget(kIdPrinters);
            surface.Show(kIdPrinters, true);
            surface.InsertItem(kIdPrinters, 0, L"Viruzu TQ3800");
            surface.SetAccessibleName(kIdPrinters, L"Printer");
            surface.SetAccessibleDescription(kIdPrinters, L"Choose the printer to upgrade.");

            QAccessibleInterface* read = QAccessible::queryAccessibleInterface(list);
            QVERIFY(read != nullptr);
            QCOMPARE(read->role(), QAccessible::ComboBox);
            QCOMPARE(read->text(QAccessible::Name), QStringLiteral("Printer"));
            QCOMPARE(read->text(QAccessible::Description),
                     QStringLiteral("Choose the printer to upgrade."));
            surface.SetCurSel(kIdPrinters, 0);
            QCOMPARE(read->text(QAccessible::Value), QStringLiteral("Viruzu TQ3800"));
        });
        surface.RunModal();
    }
};

FWUP_QT_TEST_SUITE(QtDialogSurfaceTest);

}  // namespace fwup::testing

#include "qt_dialog_surface_test.moc"
