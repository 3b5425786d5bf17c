#pragma once

// What every dialog surface promises the window logic, as one typed suite: the recording fake the
// logic's tests run on, the Qt surface and the Win32 surface each instantiate it with a harness
// that plays the user and the platform for its surface.
//
// A harness `H` offers:
//   H::kTasksRunOnTheWindowThread  whether RunOnWindowThread moves a task to the thread that runs
//                                  the modal loop (the fake runs it on the caller, under a lock)
//   H::kSelectingPastTheEndClears  whether SetCurSel past the last entry clears the selection (the
//                                  Win32 combo box under Wine keeps it; the window logic never
//                                  selects past the end)
//   std::string Unready()          why this surface cannot be tested here ("" when it can)
//   DialogSurface& Make(tmpl)      a new surface for `tmpl`, owned by the harness
//   int Run(script)                runs the last surface modally; `script` runs while the window
//                                  exists and its thread serves requests, after which a window
//                                  left open is ended with kContractAbandoned. RunModal's result.
//   int RunUntilEnded(script)      as Run, for a script that ends the dialog itself
//   void Went()                    after Run: the window is destroyed
//   void ClickExit()               the user clicks the Exit button
//   void PressEscape(listener)     the user presses Escape (returns once it has been handled)
//   void PlatformCancel()          the platform's own cancel (IDCANCEL, a rejected dialog)
//   int AskToClose(everyWay)       the user closes the window (title bar, system menu): one way,
//                                  or every way the platform has; how many requests were made
//   bool WindowOpen()              whether the window still exists
//   void OnWorker(work)            runs `work` on a thread of its own while the window thread
//                                  keeps serving requests
//   std::vector<std::wstring> ItemsOf(id)   the entries of a drop-down list, on the window thread
//   void PressDown(id)             the user presses the Down arrow key on drop-down list `id`,
//                                  which has the focus (returns once the list has handled it)
//   int NextByTab(id)              the control the Tab key moves the focus to from control `id`

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ui/dialog_surface.h"
#include "ui/dialog_templates.h"

namespace fwup::testing {

// What RunModal returns when a script left the dialog open.
inline constexpr int kContractAbandoned = -99;

// Counts what reaches the logic; a close request gets the answer the test sets.
class ContractListener final : public DialogListener {
  public:
    std::atomic<int> inits{0};
    std::atomic<int> commands{0};
    std::atomic<int> lastCommand{0};
    std::atomic<int> cancels{0};
    std::atomic<int> closeRequests{0};
    std::atomic<bool> allowClose{false};
    std::atomic<int> selectionChanges{0};
    std::atomic<int> lastSelectionChange{0};
    DialogSurface* surface = nullptr;

    void OnInit() override { inits.fetch_add(1); }
    void OnCommand(int id) override {
        commands.fetch_add(1);
        lastCommand.store(id);
    }
    void OnCancel() override { cancels.fetch_add(1); }
    void OnSelectionChange(int id) override {
        selectionChanges.fetch_add(1);
        lastSelectionChange.store(id);
    }
    bool OnCloseRequest() override {
        closeRequests.fetch_add(1);
        if (allowClose.load() && surface != nullptr) {
            surface->EndDialog(kIdExit);
        }
        return allowClose.load();
    }
    void OnFocus() override {}
};

template <typename Harness>
class DialogSurfaceContract : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string unready = harness_.Unready();
        if (!unready.empty()) {
            GTEST_SKIP() << unready;
        }
    }

    // `read` on the window thread, as every look of a control must be read.
    template <typename T, typename Read>
    T OnWindow(DialogSurface& surface, Read read) {
        T value{};
        surface.RunOnWindowThread([&] { value = read(); });
        return value;
    }

    Harness harness_;
};

TYPED_TEST_SUITE_P(DialogSurfaceContract);

// The Exit button and the cancel key share one command on the platform; the logic must still be
// able to tell them apart, and no key, cancel or close request may end the dialog by itself.
TYPED_TEST_P(DialogSurfaceContract, UserActionsReachTheLogicAsTheirOwnEvents) {
    DialogSurface& surface = this->harness_.Make(kMainDialogTemplate);
    ContractListener listener;
    listener.surface = &surface;
    surface.SetListener(&listener);
    const int result = this->harness_.RunUntilEnded([&] {
        this->harness_.ClickExit();
        EXPECT_EQ(listener.commands.load(), 1);
        EXPECT_EQ(listener.lastCommand.load(), kIdExit);
        EXPECT_EQ(listener.cancels.load(), 0);

        this->harness_.PressEscape(listener);
        EXPECT_EQ(listener.cancels.load(), 1);
        EXPECT_EQ(listener.commands.load(), 1);
        this->harness_.PlatformCancel();
        EXPECT_EQ(listener.cancels.load(), 2);

        const int asked = this->harness_.AskToClose(true);
        EXPECT_EQ(listener.closeRequests.load(), asked);
        EXPECT_TRUE(this->harness_.WindowOpen());
        EXPECT_EQ(listener.commands.load(), 1);
        EXPECT_EQ(listener.cancels.load(), 2);

        listener.allowClose.store(true);
        this->harness_.AskToClose(false);
    });
    EXPECT_EQ(result, kIdExit);
    EXPECT_EQ(listener.inits.load(), 1);
    surface.SetListener(nullptr);
}

TYPED_TEST_P(DialogSurfaceContract, RequestsFromOtherThreadsRunBeforeTheCallerGoesOn) {
    DialogSurface& surface = this->harness_.Make(kMainDialogTemplate);
    const std::thread::id windowThread = std::this_thread::get_id();
    const int result = this->harness_.Run([&] {
        bool accepted = false;
        bool nestedAccepted = false;
        bool nestedRan = false;
        std::thread::id ranOn;
        this->harness_.OnWorker([&] {
            accepted = surface.RunOnWindowThread([&] {
                ranOn = std::this_thread::get_id();
                surface.SetText(kIdStart, L"from the worker");
                // Already on the window thread: runs at once.
                nestedAccepted = surface.RunOnWindowThread([&] { nestedRan = true; });
            });
        });
        EXPECT_TRUE(accepted);
        EXPECT_TRUE(nestedAccepted);
        EXPECT_TRUE(nestedRan);
        if (TypeParam::kTasksRunOnTheWindowThread) {
            EXPECT_EQ(ranOn, windowThread);
        }
        EXPECT_EQ(this->template OnWindow<std::wstring>(surface,
                                                        [&] { return surface.GetText(kIdStart); }),
                  L"from the worker");
    });
    EXPECT_EQ(result, kContractAbandoned) << "RunModal returns what EndDialog was given";

    // The window is gone: nothing runs, on either thread.
    this->harness_.Went();
    bool ran = false;
    EXPECT_FALSE(surface.RunOnWindowThread([&] { ran = true; }));
    bool workerAccepted = true;
    std::thread([&] { workerAccepted = surface.RunOnWindowThread([&] { ran = true; }); }).join();
    EXPECT_FALSE(workerAccepted);
    EXPECT_FALSE(ran);
}

TYPED_TEST_P(DialogSurfaceContract, TheCloseItemGoesAndComesBackWithItsCaption) {
    DialogSurface& surface = this->harness_.Make(kMainDialogTemplate);
    this->harness_.Run([&] {
        surface.RunOnWindowThread([&] {
            EXPECT_TRUE(surface.HasCloseMenuItem());
            EXPECT_FALSE(surface.CloseMenuItemCaption().empty());

            EXPECT_TRUE(surface.RemoveCloseMenuItem());
            EXPECT_FALSE(surface.HasCloseMenuItem());
            EXPECT_TRUE(surface.CloseMenuItemCaption().empty());

            EXPECT_TRUE(surface.AppendCloseMenuItem(L"Close"));
            EXPECT_TRUE(surface.HasCloseMenuItem());
            EXPECT_EQ(surface.CloseMenuItemCaption(), L"Close");
        });
        EXPECT_TRUE(this->harness_.WindowOpen());
    });

    // The message dialog has no system menu and so no close item to take away.
    DialogSurface& message = this->harness_.Make(kMessageDialogTemplate);
    this->harness_.Run([&] {
        message.RunOnWindowThread([&] {
            EXPECT_FALSE(message.HasCloseMenuItem());
            EXPECT_FALSE(message.RemoveCloseMenuItem());
            EXPECT_FALSE(message.AppendCloseMenuItem(L"Close"));
            EXPECT_FALSE(message.HasCloseMenuItem());
        });
    });
}

// The printer list keeps entries where they are put and selects nothing unasked.
TYPED_TEST_P(DialogSurfaceContract, TheDropDownListKeepsIndicesAndSelection) {
    DialogSurface& surface = this->harness_.Make(kMainDialogTemplate);
    this->harness_.Run([&] {
        surface.RunOnWindowThread([&] {
            surface.InsertItem(kIdPrinters, 0, L"second");
            EXPECT_EQ(surface.GetCurSel(kIdPrinters), -1);
            surface.InsertItem(kIdPrinters, 0, L"first");
            surface.InsertItem(kIdPrinters, 2, L"third");
        });
        EXPECT_EQ(this->harness_.ItemsOf(kIdPrinters),
                  (std::vector<std::wstring>{L"first", L"second", L"third"}));
        surface.RunOnWindowThread([&] {
            surface.SetCurSel(kIdPrinters, 1);
            EXPECT_EQ(surface.GetCurSel(kIdPrinters), 1);
            surface.SetCurSel(kIdPrinters, 7);
            if (TypeParam::kSelectingPastTheEndClears) {
                EXPECT_EQ(surface.GetCurSel(kIdPrinters), -1);
            }
            surface.ResetItems(kIdPrinters);
        });
        EXPECT_TRUE(this->harness_.ItemsOf(kIdPrinters).empty());
        surface.RunOnWindowThread([&] {
            // Ids the window does not hold are ignored.
            surface.SetText(4242, L"nobody");
            EXPECT_TRUE(surface.GetText(4242).empty());
            EXPECT_EQ(surface.GetCurSel(4242), -1);
        });
    });
}

// The logic hears of a choice the user makes in the printer list, and only when the choice is
// another entry: what it selects itself, or a key that leaves the selection where it was, is
// not reported.
TYPED_TEST_P(DialogSurfaceContract, OnlyTheUsersChoiceOfAnotherEntryIsReported) {
    DialogSurface& surface = this->harness_.Make(kMainDialogTemplate);
    ContractListener listener;
    surface.SetListener(&listener);
    const auto selection = [&] {
        return this->template OnWindow<int>(surface,
                                            [&] { return surface.GetCurSel(kIdPrinters); });
    };
    this->harness_.Run([&] {
        surface.RunOnWindowThread([&] {
            surface.Show(kIdPrinters, true);
            surface.InsertItem(kIdPrinters, 0, L"first");
            surface.InsertItem(kIdPrinters, 1, L"second");
            surface.InsertItem(kIdPrinters, 2, L"third");
            surface.SetCurSel(kIdPrinters, 0);
            surface.SetFocus(kIdPrinters);
        });
        EXPECT_EQ(listener.selectionChanges.load(), 0);

        this->harness_.PressDown(kIdPrinters);
        EXPECT_EQ(selection(), 1);
        EXPECT_EQ(listener.selectionChanges.load(), 1);
        EXPECT_EQ(listener.lastSelectionChange.load(), kIdPrinters);
        this->harness_.PressDown(kIdPrinters);
        this->harness_.PressDown(kIdPrinters);  // already on the last entry
        EXPECT_EQ(selection(), 2);
        EXPECT_EQ(listener.selectionChanges.load(), 2);

        surface.RunOnWindowThread([&] {
            surface.SetCurSel(kIdPrinters, -1);
            surface.SetCurSel(kIdPrinters, 1);
        });
        EXPECT_EQ(listener.selectionChanges.load(), 2);
        // The logic's own selection is where the user's next choice starts from: back on the
        // entry the user had chosen before, it is still another choice.
        this->harness_.PressDown(kIdPrinters);
        EXPECT_EQ(selection(), 2);
        EXPECT_EQ(listener.selectionChanges.load(), 3);
        EXPECT_EQ(listener.cancels.load(), 0);
        EXPECT_EQ(listener.commands.load(), 0);
    });
    surface.SetListener(nullptr);
}

// Tab walks the controls in the order they were made, template first; a template control can be
// placed after one made at run time (the printer list after the tips box, say).
TYPED_TEST_P(DialogSurfaceContract, AControlCanBePlacedAfterAnotherInTheTabOrder) {
    constexpr int kBox = 3001;
    DialogSurface& surface = this->harness_.Make(kMainDialogTemplate);
    const auto next = [&](int id) { return this->harness_.NextByTab(id); };
    this->harness_.Run([&] {
        surface.RunOnWindowThread([&] {
            surface.CreateControl(
                {.id = kBox,
                 .kind = ControlKind::kEdit,
                 .rect = {10, 20, 200, 60},
                 .style = kStyleBorder | kStyleTabStop | kStyleMultiLine | kStyleReadOnly});
            surface.Show(kIdExit, false);
            surface.Show(kIdPrinters, true);
        });
        EXPECT_EQ(next(kIdStart), kIdPrinters);
        EXPECT_EQ(next(kIdPrinters), kBox);
        EXPECT_EQ(next(kBox), kIdStart);

        surface.RunOnWindowThread([&] {
            surface.PlaceInFocusOrderAfter(kIdPrinters, kBox);
            // Ids the window does not hold change nothing.
            surface.PlaceInFocusOrderAfter(4242, kIdStart);
            surface.PlaceInFocusOrderAfter(kIdStart, 4242);
        });
        EXPECT_EQ(next(kBox), kIdPrinters);
        EXPECT_EQ(next(kIdPrinters), kIdStart);
        EXPECT_EQ(next(kIdStart), kBox);
    });
}

REGISTER_TYPED_TEST_SUITE_P(DialogSurfaceContract, UserActionsReachTheLogicAsTheirOwnEvents,
                            RequestsFromOtherThreadsRunBeforeTheCallerGoesOn,
                            TheCloseItemGoesAndComesBackWithItsCaption,
                            TheDropDownListKeepsIndicesAndSelection,
                            OnlyTheUsersChoiceOfAnotherEntryIsReported,
                            AControlCanBePlacedAfterAnotherInTheTabOrder);

}  // namespace fwup::testing
