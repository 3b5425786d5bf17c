#include "ui/win32/control_styles.h"

#include <gtest/gtest.h>

#include "text/lang_text.h"
#include "ui/win32/dpi_scaling.h"
#include "ui/win32/single_instance.h"

namespace fwup {
namespace {

using win32::RestyledControl;
using win32::WindowStyle;

// The final message area goes from right-aligned (Hebrew) to centred. The alignment is a field of
// the style word: SS_RIGHT and SS_CENTER together would make the text an icon.
TEST(ControlStylesTest, RestyleReplacesTheAlignmentAndKeepsTheRest) {
    const StyleBits hebrew = kStyleAlignRight | kStyleRtlReading;
    const WindowStyle created = win32::ControlStyle(ControlKind::kStaticText, hebrew);
    const WindowStyle live{created.style | WS_CHILD | WS_VISIBLE | WS_DISABLED, created.exStyle};

    const WindowStyle centred = RestyledControl(ControlKind::kStaticText, live, hebrew,
                                                (hebrew & ~kStyleAlignRight) | kStyleAlignCenter);
    EXPECT_EQ(centred.style & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));
    EXPECT_EQ(centred.style & (WS_CHILD | WS_VISIBLE | WS_DISABLED | SS_NOPREFIX),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_DISABLED | SS_NOPREFIX));
    EXPECT_EQ(centred.exStyle, static_cast<DWORD>(WS_EX_RTLREADING));

    // Centre added without right removed still gives one alignment.
    const WindowStyle both =
        RestyledControl(ControlKind::kStaticText, live, hebrew, hebrew | kStyleAlignCenter);
    EXPECT_EQ(both.style & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));

    // Back to no alignment bit: left, and the reading order goes with its bit.
    const WindowStyle left = RestyledControl(ControlKind::kStaticText, centred,
                                             kStyleAlignCenter | kStyleRtlReading, kStyleNone);
    EXPECT_EQ(left.style & SS_TYPEMASK, static_cast<DWORD>(SS_LEFT));
    EXPECT_EQ(left.exStyle, 0u);
}

TEST(ControlStylesTest, MirroredProgressBarAndRightAlignedEdit) {
    const WindowStyle bar =
        win32::ControlStyle(ControlKind::kProgressBar, kStyleSmooth | kStyleLayoutRtl);
    EXPECT_EQ(bar.exStyle, static_cast<DWORD>(WS_EX_LAYOUTRTL));
    const WindowStyle edit = win32::ControlStyle(
        ControlKind::kEdit, kStyleMultiLine | kStyleReadOnly | kStyleAlignRight | kStyleTabStop);
    EXPECT_EQ(edit.style & (ES_RIGHT | ES_CENTER), static_cast<DWORD>(ES_RIGHT));
    // A drop-down list is right-aligned through its extended style, and restyled back.
    const StyleBits hebrewList = kStyleAlignRight | kStyleRtlReading | kStyleTabStop;
    const WindowStyle list = win32::ControlStyle(ControlKind::kDropDownList, hebrewList);
    EXPECT_EQ(list.exStyle, static_cast<DWORD>(WS_EX_RIGHT | WS_EX_RTLREADING));
    EXPECT_EQ(list.style & (CBS_DROPDOWNLIST | WS_TABSTOP),
              static_cast<DWORD>(CBS_DROPDOWNLIST | WS_TABSTOP));
    EXPECT_EQ(RestyledControl(ControlKind::kDropDownList, list, hebrewList, kStyleTabStop).exStyle,
              0u);
    // Its scroll bar stays with the dropped list: a restyle never puts one beside the box.
    const WindowStyle made{list.style & ~static_cast<DWORD>(WS_VSCROLL), list.exStyle};
    EXPECT_EQ(RestyledControl(ControlKind::kDropDownList, made, kStyleVScroll,
                              kStyleVScroll | kStyleAlignRight)
                      .style &
                  WS_VSCROLL,
              0u);
    // A style a kind has no use for changes nothing on it.
    EXPECT_EQ(win32::ControlStyle(ControlKind::kPushButton, kStyleMultiLine),
              win32::ControlStyle(ControlKind::kPushButton, kStyleNone));
}

TEST(DpiScalingTest, FontsAndRectanglesFollowTheScreen) {
    const FontDesc text{.face = L"宋体", .pointTenths = 100};
    EXPECT_EQ(win32::MakeLogFont(text, 96).lfHeight, -13);  // 10 pt, character height
    EXPECT_EQ(win32::MakeLogFont(text, 144).lfHeight, -20);
    EXPECT_STREQ(win32::MakeLogFont(text, 96).lfFaceName, L"宋体");

    const FontDesc result{.face = L"Times New Roman",
                          .height = 15,
                          .weight = 700,
                          .family = FontDesc::Family::kSwiss};
    const LOGFONTW bold = win32::MakeLogFont(result, 144);
    EXPECT_EQ(bold.lfHeight, 23);  // a cell height, rounded
    EXPECT_EQ(bold.lfWeight, 700);
    EXPECT_EQ(bold.lfPitchAndFamily, FF_SWISS | DEFAULT_PITCH);

    const FontDesc longFace{.face = std::wstring(40, L'x'), .pointTenths = 100};
    EXPECT_EQ(std::wstring(win32::MakeLogFont(longFace, 96).lfFaceName).size(),
              static_cast<std::size_t>(LF_FACESIZE - 1));

    // Edges are scaled, so controls that touch at 96 DPI still touch.
    const RECT left = win32::ScaledRect({10, 20, 33, 15}, 144);
    const RECT right = win32::ScaledRect({43, 20, 33, 15}, 144);
    EXPECT_EQ(left.right, right.left);
    EXPECT_EQ(left.left, 15);
    EXPECT_EQ(left.bottom, 53);
}

TEST(SingleInstanceTest, MutexNameIsTheEnglishTitleWhateverTheLanguage) {
    for (const std::uint16_t language : {0, 0x10, 0x19, 0x1F}) {
        UiLangId.store(language);
        EXPECT_EQ(AppMutexName(), L"Viruzu  Firmware Upgrade Tool(FW)");
    }
    UiLangId.store(0);
}

}  // namespace
}  // namespace fwup
