// Start-up of the Windows program: common controls, GDI+, the single-instance guard, the printer
// source, and the main window's modal run on the process's main thread.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <objidl.h>  // gdiplus.h needs IStream, which WIN32_LEAN_AND_MEAN leaves out

#include <gdiplus.h>

#include <optional>

#include "app/common/program_services.h"
#include "app/common/program_wiring.h"
#include "base/wide_text.h"
#include "base/win32/unique_win32.h"
#include "log/notice_output.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/upgrade_start.h"
#include "ui/win32/host_os_version.h"
#include "ui/win32/single_instance.h"
#include "ui/win32/win32_dialog_surface.h"
#include "ui/win32/window_session_end.h"

namespace fwup {
namespace {

// GDI+ from start-up to shutdown. Nothing draws with it yet; it is started so that whatever comes
// to draw with it finds it running, and shut down exactly once.
class GdiplusSession {
  public:
    GdiplusSession() {
        const Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback
        if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) {
            token_ = 0;
        }
    }
    ~GdiplusSession() {
        if (token_ != 0) {
            Gdiplus::GdiplusShutdown(token_);
        }
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

  private:
    ULONG_PTR token_ = 0;
};

}  // namespace

// COM on this thread for as long as the object lives, where it could be had.
class ComApartment {
  public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    const bool initialised_;
};

// The application: one process-wide object, started and ended by wWinMain.
class VAvedOvEviziraVod {
  public:
    // Runs the program to its end. Always false: there is no message loop after the main window.
    bool InitInstance(HINSTANCE instance);
    // Shuts GDI+ down; the process's exit code.
    int ExitInstance();

  private:
    void RunMainWindow(HINSTANCE instance);

    std::optional<GdiplusSession> m_gdiplus;
    // Held to the end of the process: while it exists, later instances find it and step aside.
    win32::UniqueKernelHandle hAppMutex;
};

bool VAvedOvEviziraVod::InitInstance(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    m_gdiplus.emplace();

    // Before the language is chosen, and English in any case: every instance must meet the same
    // name.
    const std::wstring mutexName = AppMutexName();
    hAppMutex.reset(CreateMutexW(nullptr, TRUE, mutexName.c_str()));
    if (!hAppMutex.valid()) {
        return false;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (const HWND running = FindRunningMainWindow()) {
            BringRunningWindowForward(running);
        }
        hAppMutex.reset();
        return false;
    }

    RunMainWindow(instance);
    return false;
}

void VAvedOvEviziraVod::RunMainWindow(HINSTANCE instance) {
    // The window thread hands screen readers the objects that name its controls; they travel
    // through COM.
    const ComApartment apartment;
    Win32SurfaceFactory factory(instance);
    Win32DialogSurface surface(kMainDialogTemplate, instance);
    WindowSessionEnd sessionEnd(surface);
    const ProgramWiring wiring = WireProgram({.sessionEnd = &sessionEnd});
    if (!wiring.interfaceSource) {
        // The window still opens; an upgrade run then finds no printer and says so.
        DebugOutput(L"viruzu-fwup: no printer source: " + FromUtf8(wiring.error) + L"\r\n");
    } else if (wiring.scenarioFile) {
        DebugOutput(L"viruzu-fwup: simulated printers (VIRUZU_FWUP_EMULATE)\r\n");
    }
    const InstalledServices installed(wiring.services);
    {
        UpgradeWorker worker;
        CVevaVoRirizevDlg dialog(surface, factory,
                                 MainWindowHooks{.selectLanguage = SelectUiLanguage,
                                                 .queryOsVersion = QueryHostOsVersion,
                                                 .onStart = [&worker](CVevaVoRirizevDlg& window) {
                                                     OnBnClickedStart(window, worker);
                                                 }});
        dialog.DoModal();
        // The window refuses to close during a run, but the worker may still be returning; it
        // must be gone before the window object is.
        worker.Wait();
    }
}

int VAvedOvEviziraVod::ExitInstance() {
    m_gdiplus.reset();
    return 0;
}

}  // namespace fwup

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    static fwup::VAvedOvEviziraVod theApp;
    theApp.InitInstance(instance);
    return theApp.ExitInstance();
}
