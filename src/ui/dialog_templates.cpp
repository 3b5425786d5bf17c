#include "ui/dialog_templates.h"

namespace fwup {
namespace {

constexpr std::wstring_view kShellFont = L"MS Shell Dlg";
constexpr int kShellFontPoints = 9;

constexpr TemplateControl kMainControls[] = {
    {kIdStart, ControlKind::kPushButton, {178, 247, 50, 14}, kStyleTabStop, true},
    {kIdExit, ControlKind::kPushButton, {34, 247, 50, 14}, kStyleTabStop, true},
    // The printers attached, at idle, for the user to choose one of several. The height is the
    // list's when dropped down. Made before the tips box, so the window moves it after that box
    // in the Tab order (DialogSurface::PlaceInFocusOrderAfter).
    {kIdPrinters,
     ControlKind::kDropDownList,
     {73, 55, 176, 59},
     kStyleSorted | kStyleVScroll | kStyleTabStop,
     false},
    {kIdResultPicture, ControlKind::kPicture, {102, 9, 13, 12}, kStyleTransparent, false},
};

constexpr TemplateControl kMessageControls[] = {
    {kIdOk, ControlKind::kPushButton, {188, 62, 50, 14}, kStyleDefaultButton | kStyleTabStop, true},
    {kIdUnaddressed, ControlKind::kPicture, {8, 15, 26, 23}, kStyleNone, true, kIdbWarning},
    {kIdMessageText, ControlKind::kStaticText, {41, 20, 180, 37}, kStyleNone, true},
    // No shares OK's place: only one of them is shown in a mode.
    {kIdNo, ControlKind::kPushButton, {188, 62, 50, 14}, kStyleTabStop, true},
    {kIdYes, ControlKind::kPushButton, {134, 62, 50, 14}, kStyleTabStop, true},
};

}  // namespace

constinit const DialogTemplate kMainDialogTemplate{
    kIddMainDialog,
    268,
    268,
    kDialogPopup | kDialogVisible | kDialogCaption | kDialogSystemMenu | kDialogModalFrame |
        kDialogAppWindow,
    L"",
    kShellFont,
    kShellFontPoints,
    {236, 237, 236},
    kMainControls,
};

// No system menu, so no close box: the dialog ends through its buttons (or the cancel key).
constinit const DialogTemplate kMessageDialogTemplate{
    kIddMessageDialog,
    245,
    83,
    kDialogPopup | kDialogCaption | kDialogModalFrame,
    L"",
    kShellFont,
    kShellFontPoints,
    {255, 255, 255},
    kMessageControls,
};

}  // namespace fwup
