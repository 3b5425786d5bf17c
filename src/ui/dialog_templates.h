#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "ui/dialog_surface.h"

namespace fwup {

// Resource ids shared by the templates, the logic and the resource script.
inline constexpr int kIddMainDialog = 102;
inline constexpr int kIddMessageDialog = 174;
inline constexpr int kIdiApp = 128;
inline constexpr int kIdbFailed = 175;     // warning triangle on the main window's background
inline constexpr int kIdbSucceeded = 176;  // check mark on the main window's background
inline constexpr int kIdbWarning = 177;    // warning triangle on white, message dialog

// Controls of template 102.
inline constexpr int kIdStart = 1018;
inline constexpr int kIdExit = 2;  // also the platform's cancel command
inline constexpr int kIdPrinters = 1000;
inline constexpr int kIdResultPicture = 1020;

// Controls of template 174.
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 1022;
inline constexpr int kIdNo = 1015;
inline constexpr int kIdMessageText = 1021;

// The platform's id for a static control nobody addresses; at most one per template, so that
// surfaces can still key their controls by id.
inline constexpr int kIdUnaddressed = 0xFFFF;

// Dialog units: a quarter of the template font's average character width horizontally and an
// eighth of its height vertically. Each toolkit converts them with its own font metrics.
struct DialogUnitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

using DialogStyleBits = std::uint32_t;
inline constexpr DialogStyleBits kDialogPopup = 1u << 0;
inline constexpr DialogStyleBits kDialogVisible = 1u << 1;
inline constexpr DialogStyleBits kDialogCaption = 1u << 2;
inline constexpr DialogStyleBits kDialogSystemMenu = 1u << 3;  // and with it the close box
inline constexpr DialogStyleBits kDialogModalFrame = 1u << 4;
inline constexpr DialogStyleBits kDialogMinimizeBox = 1u << 5;
inline constexpr DialogStyleBits kDialogMaximizeBox = 1u << 6;
inline constexpr DialogStyleBits kDialogAppWindow = 1u << 7;  // a task-bar button of its own

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

struct TemplateControl {
    int id = 0;
    ControlKind kind = ControlKind::kStaticText;
    DialogUnitRect rect{};
    StyleBits style = kStyleNone;
    bool visible = true;
    int bitmapId = 0;  // a picture's bitmap from the start, 0 for none
};

// A fixed-size dialog as both toolkit layers build it, and as the resource script declares it.
// Captions stored here are placeholders: the logic sets every visible text at initialisation.
struct DialogTemplate {
    int id = 0;
    int width = 0;  // dialog units
    int height = 0;
    DialogStyleBits style = 0;
    std::wstring_view caption{};
    std::wstring_view fontFace{};  // default character set
    int fontPoints = 0;
    // Fills the client area and sits behind every control that does not keep default colours.
    Rgb background{};
    std::span<const TemplateControl> controls{};  // in tab order
};

extern const DialogTemplate kMainDialogTemplate;     // 102: the main window
extern const DialogTemplate kMessageDialogTemplate;  // 174: the message dialog

}  // namespace fwup
