// The dialog surface contract on the Qt surface, on Qt's offscreen platform. A binary of its own:
// the contract is a GoogleTest suite, the Qt layer's other suites are QTest's.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/dialog_surface_contract.h"
#include "ui/qt/qt_dialog_surface.h"
#include "ui/qt/qt_test_application.h"
#include "ui/qt/qt_test_support.h"

namespace fwup::testing {
namespace {

// The user is played on the window thread, from inside the modal loop.
class QtHarness {
  public:
    static constexpr bool kTasksRunOnTheWindowThread = true;
    static constexpr bool kSelectingPastTheEndClears = true;

    std::string Unready() { return ""; }

    DialogSurface& Make(const DialogTemplate& dialog) {
        surfaces_.push_back(std::make_unique<QtDialogSurface>(dialog));
        return *surfaces_.back();
    }

    int Run(const std::function<void()>& script) {
        WhenModal(Surface(), [this, &script] {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(Window()));
            script();
        });
        return Surface().RunModal();
    }
    // The surface keeps the first result it is given.
    int RunUntilEnded(const std::function<void()>& script) { return Run(script); }
    void Went() {}

    void ClickExit() {
        QTest::mouseClick(qobject_cast<QPushButton*>(Surface().ControlWidget(kIdExit)),
                          Qt::LeftButton);
    }
    void PressEscape(const ContractListener&) { QTest::keyClick(Window(), Qt::Key_Escape); }
    void PlatformCancel() { Window()->reject(); }
    int AskToClose(bool) {
        QDialog* const window = Window();
        const bool closed = window->close();
        EXPECT_EQ(closed, !window->isVisible());
        return 1;
    }
    bool WindowOpen() { return Window() != nullptr && Window()->isVisible(); }
    void OnWorker(const std::function<void()>& work) { EXPECT_TRUE(RunOnWorker(work)); }

    std::vector<std::wstring> ItemsOf(int id) {
        std::vector<std::wstring> items;
        if (const auto* list = qobject_cast<QComboBox*>(Surface().ControlWidget(id))) {
            for (int i = 0; i < list->count(); ++i) {
                items.push_back(list->itemText(i).toStdWString());
            }
        }
        return items;
    }

    void PressDown(int id) { QTest::keyClick(Surface().ControlWidget(id), Qt::Key_Down); }
    // The key goes to the focused control, which hands it to the window's focus chain.
    int NextByTab(int id) {
        QWidget* const from = Surface().ControlWidget(id);
        from->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(from, Qt::Key_Tab);
        return Surface().ControlId(Window()->focusWidget());
    }

  private:
    QtDialogSurface& Surface() { return *surfaces_.back(); }
    QDialog* Window() { return Surface().Window(); }

    std::vector<std::unique_ptr<QtDialogSurface>> surfaces_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(QtSurface, DialogSurfaceContract, QtHarness);

}  // namespace fwup::testing

int main(int argc, char* argv[]) {
    const fwup::testing::QtTestApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
