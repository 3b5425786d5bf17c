// The Linux program: one instance per user, the main window run modally, and the end of the
// process when it closes.

#include "app/qt/program.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QObject>
#include <QString>

#include "app/common/program_services.h"
#include "app/common/program_wiring.h"
#include "app/qt/os_version_query.h"
#include "app/qt/single_instance.h"
#include "app/qt/termination_requests.h"
#include "base/shown_text.h"
#include "base/wide_text.h"
#include "log/notice_output.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/qt/dialog_bitmaps.h"
#include "ui/qt/qt_dialog_surface.h"
#include "ui/upgrade_start.h"

namespace fwup {
namespace {

// What a later instance gets instead of a window of its own: the running one, in front.
void RaiseWindow(const QtDialogSurface& surface) {
    QDialog* const window = surface.Window();
    if (window == nullptr) {
        return;
    }
    window->showNormal();
    window->raise();
    window->activateWindow();
}

}  // namespace

int RunProgram(int& argc, char* argv[], const ProgramHooks& hooks) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("viruzu-fwup"));
    QGuiApplication::setDesktopFileName(QStringLiteral("viruzu-fwup"));
    QApplication::setWindowIcon(AppIcon());
    // The main window's modal run is the program's life; nothing else may end it.
    QApplication::setQuitOnLastWindowClosed(false);
    if (hooks.afterApplication) {
        hooks.afterApplication(application);
    }

    SingleInstanceGuard guard(UserRuntimeDirectory(), InstanceFileStem(AppMutexName()));
    if (guard.Acquire() != SingleInstanceGuard::Outcome::kFirstInstance) {
        return 0;
    }

    // Without USB access (or with a broken scenario) the window still runs; a run then simply
    // finds no printer.
    const ProgramWiring wiring = WireProgram({});
    if (!wiring.interfaceSource) {
        // On standard error: what the error quotes of the scenario file must not act there.
        DebugOutput(L"viruzu-fwup: " + ShownText(FromUtf8(wiring.error)) +
                    L"; no printers will be found\n");
    }
    const InstalledServices installed(wiring.services);

    QtDialogSurfaceFactory factory;
    QtDialogSurface surface(kMainDialogTemplate);
    {
        UpgradeWorker worker;
        CVevaVoRirizevDlg dialog(surface, factory,
                                 MainWindowHooks{.selectLanguage = SelectUiLanguage,
                                                 .queryOsVersion = QueryOsVersion,
                                                 .onStart = [&worker](CVevaVoRirizevDlg& window) {
                                                     OnBnClickedStart(window, worker);
                                                 }});
        QObject::connect(&guard, &SingleInstanceGuard::raiseRequested,
                         [&surface] { RaiseWindow(surface); });
        // A session that ends asks, like the close button, and takes no for an answer while a
        // run is active.
        TerminationRequests termination;
        QObject::connect(&termination, &TerminationRequests::requested, [&surface] {
            if (QDialog* const window = surface.Window()) {
                window->close();
            }
        });
        dialog.DoModal();
        // The window refuses to close during a run, but the worker may still be returning; it
        // must be gone before the window object is.
        worker.Wait();
    }
    return 0;
}

}  // namespace fwup
