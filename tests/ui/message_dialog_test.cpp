#include "ui/message_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/recording_dialog_surface.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"

namespace fwup {
namespace {

using testing::RecordingDialogSurface;
using testing::RecordingSurfaceFactory;
using testing::SurfaceRecord;

class MessageDialogTest : public ::testing::Test {
  protected:
    ~MessageDialogTest() override { UiLangId.store(0); }

    int Run(int mode, std::function<void(RecordingDialogSurface&)> user,
            const wchar_t* text = L"The printer port is occupied.") {
        factory_.scripts.push_back(std::move(user));
        CShowMsgDlg dialog(factory_, nullptr);
        dialog.m_strMsg = text;
        dialog.m_nMode = mode;
        return dialog.DoModal();
    }
    const SurfaceRecord& Shown() const { return factory_.finished.back(); }

    RecordingSurfaceFactory factory_;
};

TEST_F(MessageDialogTest, ButtonsFollowTheMode) {
    Run(MSG_MODE_OK, [](RecordingDialogSurface& s) { s.FireCommand(kIdOk); });
    const SurfaceRecord ok = Shown();
    EXPECT_EQ(ok.controls.at(kIdMessageText).text, L"The printer port is occupied.");
    EXPECT_EQ(ok.controls.at(kIdOk).text, L"Confirm");
    EXPECT_TRUE(ok.controls.at(kIdOk).visible);
    EXPECT_FALSE(ok.controls.at(kIdYes).visible);
    EXPECT_FALSE(ok.controls.at(kIdNo).visible);
    EXPECT_FALSE(ok.rtlReading);

    // A question starts on No, the answer that risks nothing.
    Run(MSG_MODE_YESNO, [](RecordingDialogSurface& s) { s.FireCommand(kIdNo); });
    const SurfaceRecord& question = Shown();
    EXPECT_FALSE(question.controls.at(kIdOk).visible);
    EXPECT_EQ(question.controls.at(kIdYes).text, L"Yes");
    EXPECT_EQ(question.controls.at(kIdNo).text, L"No");
    EXPECT_TRUE(question.controls.at(kIdYes).visible);
    EXPECT_TRUE(question.controls.at(kIdNo).visible);
    EXPECT_EQ(question.focusId, kIdNo);
    // No is the default button too, so Return and Escape answer alike; OK's default is gone.
    EXPECT_NE(question.controls.at(kIdNo).style & kStyleDefaultButton, 0u);
    EXPECT_EQ(question.controls.at(kIdOk).style & kStyleDefaultButton, 0u);
    EXPECT_NE(ok.controls.at(kIdOk).style & kStyleDefaultButton, 0u);
    EXPECT_EQ(ok.focusId, kIdOk);

    // The caption stays empty; a screen reader hears the program's name and the message.
    EXPECT_EQ(ok.title, L"");
    EXPECT_EQ(ok.accessibleName, L"Viruzu  Firmware Upgrade Tool");
    EXPECT_EQ(ok.accessibleDescription, L"The printer port is occupied.");
    EXPECT_EQ(ok.controls.at(kIdUnaddressed).accessibleName, L"The printer port is occupied.");
}

TEST_F(MessageDialogTest, RightToLeftMessagesReadRightToLeftWithTheirOwnButtons) {
    for (const std::uint16_t language : {LANG_HEBREW, LANG_ARABIC}) {
        UiLangId.store(language);
        Run(MSG_MODE_YESNO, [](RecordingDialogSurface& s) { s.FireCommand(kIdYes); });
        const SurfaceRecord& shown = Shown();
        EXPECT_TRUE(shown.rtlReading) << language;
        EXPECT_EQ(shown.controls.at(kIdMessageText).style & (kStyleRtlReading | kStyleAlignRight),
                  kStyleRtlReading | kStyleAlignRight)
            << language;
        EXPECT_EQ(shown.controls.at(kIdYes).text,
                  language == LANG_HEBREW ? L"\u05DB\u05DF" : L"\u0646\u0639\u0645");
    }
}

enum class Act { kOk, kYes, kNo, kEscape, kClose };

struct AnswerCase {
    const char* name;
    int mode;
    std::vector<Act> acts;
    int result;
};

class MessageDialogAnswerTest : public MessageDialogTest,
                                public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(MessageDialogAnswerTest, ReturnsTheAnswer) {
    const int result = Run(GetParam().mode, [](RecordingDialogSurface& s) {
        for (Act act : GetParam().acts) {
            switch (act) {
                case Act::kOk:
                    s.FireCommand(kIdOk);
                    break;
                case Act::kYes:
                    s.FireCommand(kIdYes);
                    break;
                case Act::kNo:
                    s.FireCommand(kIdNo);
                    break;
                case Act::kEscape:
                    s.FireCancel();
                    break;
                case Act::kClose:
                    EXPECT_TRUE(s.FireCloseRequest());
                    break;
            }
        }
    });
    EXPECT_EQ(result, GetParam().result);
    EXPECT_EQ(Shown().endResult, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MessageDialogAnswerTest,
    ::testing::Values(AnswerCase{"OkConfirm", MSG_MODE_OK, {Act::kOk}, 1},
                      AnswerCase{"OkEscape", MSG_MODE_OK, {Act::kEscape}, 1},
                      AnswerCase{"OkClose", MSG_MODE_OK, {Act::kClose}, 1},
                      // Hidden buttons answer nothing in OK mode.
                      AnswerCase{"OkIgnoresYes", MSG_MODE_OK, {Act::kYes, Act::kNo, Act::kOk}, 1},
                      AnswerCase{"QuestionYes", MSG_MODE_YESNO, {Act::kYes}, 6},
                      AnswerCase{"QuestionNo", MSG_MODE_YESNO, {Act::kNo}, 7},
                      AnswerCase{"QuestionEscapeIsNo", MSG_MODE_YESNO, {Act::kEscape}, 7},
                      AnswerCase{"QuestionCloseIsNo", MSG_MODE_YESNO, {Act::kClose}, 7},
                      // Return reaches the hidden OK button's command; that is no consent.
                      AnswerCase{"QuestionIgnoresOk", MSG_MODE_YESNO, {Act::kOk, Act::kNo}, 7},
                      AnswerCase{"UnknownModeIsOk", 3, {Act::kYes, Act::kOk}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageDialogTest, WorkerAsksThroughTheMainWindow) {
    RecordingDialogSurface mainSurface;
    CVevaVoRirizevDlg window(mainSurface, factory_,
                             {.selectLanguage = [] { UiLangId.store(LANG_ENGLISH); }});
    mainSurface.FireInit();
    factory_.scripts.push_back([](RecordingDialogSurface& s) { s.FireCommand(kIdYes); });
    const int before = mainSurface.windowThreadRequests;

    int answer = 0;
    std::thread worker([&] { answer = ShowMsgDlg(GetLangText(TXT_VERSION_SAME).c_str(), 4); });
    worker.join();

    EXPECT_EQ(answer, 6);
    EXPECT_EQ(mainSurface.windowThreadRequests, before + 1);
    EXPECT_EQ(mainSurface.unmarshalledCalls, 0);
    ASSERT_EQ(factory_.finished.size(), 1u);
    EXPECT_EQ(Shown().owner, &mainSurface);
    EXPECT_EQ(Shown().controls.at(kIdMessageText).text, GetLangText(TXT_VERSION_SAME));
}

TEST_F(MessageDialogTest, NoWindowMeansNoConsent) {
    ASSERT_EQ(pMainDlg.load(), nullptr);
    EXPECT_EQ(ShowMsgDlg(L"question", MSG_MODE_YESNO), 7);
    EXPECT_TRUE(factory_.finished.empty());
}

}  // namespace
}  // namespace fwup
