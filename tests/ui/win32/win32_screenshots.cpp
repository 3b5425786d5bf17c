// Saves a picture of every look of the main window (tests/ui/window_looks.h) in every language, as
// the Win32 surface draws it, for people to check layout, fonts and reading order:
//
//   fwup_win32_screenshots <directory>
//
// writes <directory>/win32-<language>-<look>.bmp, the window's client area, and
// win32-<language>-question.bmp, the message dialog asking about an equal version, after every
// message the upgrade shows has been measured in the message dialog. Needs a display:
// scripts/win32-ui-smoke.sh runs it under Wine on a virtual one, at 100 % and at 150 % scaling.
// Before each picture it measures every visible control's text as the control draws it, and looks
// for the boxes of missing glyphs (tests/ui/win32/texts_fit.h). Exits 1 when a picture could not
// be taken or written, or a text does not show whole.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/wide_text.h"
#include "base/win32/unique_win32.h"
#include "text/lang_text.h"
#include "text/languages.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "ui/win32/gdi_owners.h"
#include "ui/win32/program_resources.h"
#include "ui/win32/test_windows.h"
#include "ui/win32/texts_fit.h"
#include "ui/win32/win32_dialog_surface.h"
#include "ui/window_looks.h"

namespace fwup {
namespace {

using testing::Look;

// The program's own manifest (resource 1) for the windows made here, so that the controls are
// the common controls 6 the program gets rather than the older ones of a manifest-less process.
class ProgramManifest {
  public:
    ProgramManifest() {
        const std::wstring program = Widen(FWUP_WIN32_PROGRAM);
        ACTCTXW context{};
        context.cbSize = sizeof(context);
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = program.c_str();
        context.lpResourceName = MAKEINTRESOURCEW(1);
        context_ = CreateActCtxW(&context);
        if (context_ != INVALID_HANDLE_VALUE && ActivateActCtx(context_, &cookie_) == FALSE) {
            ReleaseActCtx(context_);
            context_ = INVALID_HANDLE_VALUE;
        }
    }
    ~ProgramManifest() {
        if (context_ != INVALID_HANDLE_VALUE) {
            DeactivateActCtx(0, cookie_);
            ReleaseActCtx(context_);
        }
    }
    ProgramManifest(const ProgramManifest&) = delete;
    ProgramManifest& operator=(const ProgramManifest&) = delete;

    bool active() const { return context_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// A window's DC, given back when done.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type dc) { DeleteDC(dc); }
};

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
    DWORD written = 0;
    return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) != FALSE &&
           written == size;
}

// The client area as the window and its controls drew it, read back from the window's DC: under
// Wine WM_PRINT (PrintWindow) draws the dialog without its controls.
bool SaveClientArea(HWND window, const std::wstring& path) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(window, &client);
    const LONG width = client.right;
    const LONG height = client.bottom;
    if (width <= 0 || height <= 0) {
        return false;
    }
    const WindowDc source(window);
    if (source.get() == nullptr) {
        return false;
    }
    const win32::UniqueWin32<MemoryDcTraits> memory(CreateCompatibleDC(source.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a .bmp file stores its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const win32::UniqueBitmap picture(
        CreateDIBSection(source.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory.valid() || !picture.valid() || bits == nullptr) {
        return false;
    }
    const HGDIOBJ previous = SelectObject(memory.get(), picture.get());
    const bool copied =
        BitBlt(memory.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY) != FALSE;
    SelectObject(memory.get(), previous);
    GdiFlush();
    if (!copied) {
        return false;
    }

    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t imageSize = stride * static_cast<std::size_t>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = static_cast<DWORD>(header.bfOffBits + imageSize);
    info.bmiHeader.biSizeImage = static_cast<DWORD>(imageSize);
    const win32::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && WriteAll(file.get(), &header, sizeof(header)) &&
           WriteAll(file.get(), &info.bmiHeader, sizeof(info.bmiHeader)) &&
           WriteAll(file.get(), bits, imageSize);
}

// Whether the surface's window comes up and shows, waiting a while for it.
bool Shows(const Win32DialogSurface& surface) {
    return testing::Eventually([&] {
        const HWND window = surface.Window();
        return window != nullptr && IsWindowVisible(window) != FALSE;
    });
}

// Runs a main window in `language` showing `look` and saves it to `path`. The look's act runs on
// the window thread once the window is visible, and the picture is taken right after it; then
// the window ends. False when the window did not appear or the picture was not written.
bool ShootLook(HINSTANCE resources, const Language& language, const Look& look,
               const std::wstring& path, testing::MissingGlyphs& glyphs) {
    Win32SurfaceFactory factory(resources);
    Win32DialogSurface surface(kMainDialogTemplate, resources);
    CVevaVoRirizevDlg dialog(
        surface, factory,
        MainWindowHooks{.selectLanguage = [&language] { UiLangId.store(language.id); },
                        .listPrinters = [&look] { return look.printers; },
                        .watchArrivals = [] { return std::unique_ptr<ArrivalWatch>(); }});
    std::atomic<bool> saved{false};
    std::thread driver([&] {
        const bool shown = Shows(surface);
        // Ends the window whether or not it showed; refused only when it is already gone.
        surface.RunOnWindowThread([&] {
            if (shown) {
                if (look.act) {
                    look.act(dialog);
                }
                bool whole = true;
                for (const std::string& problem :
                     testing::WhatDoesNotFit(surface.Window(), glyphs)) {
                    std::printf("DOES NOT SHOW WHOLE in %s: %s\n", ToUtf8(path).c_str(),
                                problem.c_str());
                    whole = false;
                }
                saved.store(SaveClientArea(surface.Window(), path) && whole);
            }
            surface.EndDialog(kIdExit);
        });
    });
    dialog.DoModal();
    driver.join();
    return saved.load();
}

// The dialog a window shows over itself, once it is up.
HWND OwnedWindow(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(param);
            if (GetWindow(window, GW_OWNER) == wanted->owner && IsWindowVisible(window) != FALSE) {
                wanted->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Every message the upgrade shows in a message dialog, over the idle window of `language`: each
// is measured, and the question (same version) is saved as <language>-question. False when a text
// does not show whole or the picture was not written.
bool ShootMessages(HINSTANCE resources, const Language& language, const std::wstring& path,
                   testing::MissingGlyphs& glyphs) {
    Win32SurfaceFactory factory(resources);
    Win32DialogSurface surface(kMainDialogTemplate, resources);
    CVevaVoRirizevDlg dialog(
        surface, factory,
        MainWindowHooks{.selectLanguage = [&language] { UiLangId.store(language.id); },
                        .listPrinters = [] { return DeviceList{}; },
                        .watchArrivals = [] { return std::unique_ptr<ArrivalWatch>(); }});
    std::atomic<bool> whole{true};
    std::thread driver([&] {
        const bool shown = Shows(surface);
        for (const int id : {TXT_NOT_CONNECTED, TXT_VERSION_SAME, TXT_PORT_OCCUPIED,
                             TXT_FW_UNRECOGNIZED, TXT_PRINTER_IN_USE, TXT_LOW_BATTERY}) {
            if (!shown) {
                break;
            }
            const std::wstring text = GetLangText(id);
            const int mode = id == TXT_VERSION_SAME ? MSG_MODE_YESNO : MSG_MODE_OK;
            std::thread asker([&] { dialog.ShowMessage(text.c_str(), mode); });
            HWND message = nullptr;
            if (!testing::Eventually([&] { return (message = OwnedWindow(surface.Window())); })) {
                // The asker would wait for ever on a dialog that never came.
                std::printf("FAILED: no message dialog for text %d in %s\n", id,
                            ToUtf8(path).c_str());
                std::fflush(stdout);
                ExitProcess(1);
            }
            surface.RunOnWindowThread([&] {
                for (const std::string& problem : testing::WhatDoesNotFit(message, glyphs)) {
                    std::printf("DOES NOT SHOW WHOLE in the message %d of %s: %s\n", id,
                                ToUtf8(path).c_str(), problem.c_str());
                    whole.store(false);
                }
                if (id == TXT_VERSION_SAME && !SaveClientArea(message, path)) {
                    whole.store(false);
                }
            });
            PostMessageW(message, WM_COMMAND, mode == MSG_MODE_YESNO ? kIdNo : kIdOk, 0);
            asker.join();
        }
        surface.RunOnWindowThread([&] { surface.EndDialog(kIdExit); });
    });
    dialog.DoModal();
    driver.join();
    std::printf("%s %s\n", whole.load() ? "saved" : "FAILED", ToUtf8(path).c_str());
    return whole.load();
}

int Run(const std::wstring& directory) {
    const testing::ProgramResources program;
    if (program.module() == nullptr) {
        std::fprintf(stderr, "cannot load %s\n", FWUP_WIN32_PROGRAM);
        return 1;
    }
    // As the program's manifest declares, so that the window meets the screen's real DPI.
    SetProcessDPIAware();
    const ProgramManifest manifest;
    if (!manifest.active()) {
        std::fprintf(stderr, "note: the program's manifest is not in force; older controls\n");
    }
    if (!testing::RegisterCommonControls() || !testing::CanMakeWindows()) {
        std::fprintf(stderr, "no display for windows\n");
        return 1;
    }
    // As the program's window thread: the windows hand screen readers objects through COM.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

    testing::MissingGlyphs glyphs;
    bool allSaved = true;
    for (const Language& language : Languages()) {
        for (const Look& look : testing::Looks()) {
            const std::wstring path = directory + L"\\win32-" + Widen(LanguageTag(language)) +
                                      L"-" + Widen(look.name) + L".bmp";
            const bool saved = ShootLook(program.module(), language, look, path, glyphs);
            std::printf("%s %s\n", saved ? "saved" : "FAILED", ToUtf8(path).c_str());
            allSaved = saved && allSaved;
        }
        allSaved =
            ShootMessages(program.module(), language,
                          directory + L"\\win32-" + Widen(LanguageTag(language)) + L"-question.bmp",
                          glyphs) &&
            allSaved;
    }
    UiLangId.store(0);
    if (com) {
        CoUninitialize();
    }
    return allSaved ? 0 : 1;
}

}  // namespace
}  // namespace fwup

int wmain(int argc, wchar_t* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fwup_win32_screenshots <directory>\n");
        return 2;
    }
    const std::wstring directory = argv[1];
    if (CreateDirectoryW(directory.c_str(), nullptr) == FALSE &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "cannot make %s\n", fwup::ToUtf8(directory).c_str());
        return 1;
    }
    return fwup::Run(directory);
}
