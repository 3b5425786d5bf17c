// Saves a picture of every look of the main window, and of the message dialog's question, in
// several languages, for people to check layout, fonts and reading order:
//
//   fwup_qt_screenshots <directory>
//
// writes <directory>/qt-<language>-<look>.png. Runs on Qt's offscreen platform unless another
// one is asked for.

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "text/lang_text.h"
#include "text/languages.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "ui/qt/qt_dialog_surface.h"
#include "ui/window_looks.h"

namespace {

using namespace fwup;
using fwup::testing::Look;
using fwup::testing::Looks;

bool Save(QWidget* window, const QDir& directory, const Language& language, const char* look) {
    QCoreApplication::processEvents();
    const QString path = directory.filePath(
        QStringLiteral("qt-%1-%2.png")
            .arg(QLatin1String(language.localeCode.data(),
                               static_cast<qsizetype>(language.localeCode.size())),
                 QLatin1String(look)));
    const bool saved = window->grab().save(path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
    return saved;
}

// Runs a main window in `language` with `printers` attached, lets `act` work while it runs, then
// ends it.
void RunMainWindow(const Language& language,
                   const std::function<void(CVevaVoRirizevDlg&, QtDialogSurface&)>& act,
                   const DeviceList& printers = {}) {
    QtDialogSurfaceFactory factory;
    QtDialogSurface surface(kMainDialogTemplate);
    CVevaVoRirizevDlg dialog(
        surface, factory,
        MainWindowHooks{.selectLanguage = [&language] { UiLangId.store(language.id); },
                        .listPrinters = [&printers] { return printers; },
                        .watchArrivals = [] { return std::unique_ptr<ArrivalWatch>(); }});
    QTimer::singleShot(0, [&] {
        act(dialog, surface);
        surface.EndDialog(kIdExit);
    });
    dialog.DoModal();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    if (!directory.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }

    bool allSaved = true;
    for (const Language& language : Languages()) {
        for (const Look& look : Looks()) {
            RunMainWindow(
                language,
                [&](CVevaVoRirizevDlg& dialog, QtDialogSurface& surface) {
                    if (look.act) {
                        look.act(dialog);
                    }
                    allSaved = Save(surface.Window(), directory, language, look.name) && allSaved;
                },
                look.printers);
        }
        // The question the run asks about an equal firmware version, over the main window.
        RunMainWindow(language, [&](CVevaVoRirizevDlg& dialog, QtDialogSurface&) {
            QTimer::singleShot(0, [&] {
                if (auto* question = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    allSaved = Save(question, directory, language, "question") && allSaved;
                    question->reject();  // Escape: counts as No
                }
            });
            const std::wstring text = GetLangText(TXT_VERSION_SAME);
            dialog.ShowMessage(text.c_str(), MSG_MODE_YESNO);
        });
    }
    return allSaved ? 0 : 1;
}
