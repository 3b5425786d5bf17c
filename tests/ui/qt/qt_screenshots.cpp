// Saves a picture of every look of the main window, and of the message dialog's question, in
// several languages, for people to check layout, fonts and reading order:
//
//   fwup_qt_screenshots <directory>
//
// writes <directory>/qt-<language>-<look>.png. Runs on Qt's offscreen platform unless another
// one is asked for. Before each picture it lays out every text the picture shows as Qt draws it,
// with the faces Qt falls back on, and fails on a glyph no face has: the box a reader would see.

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QGlyphRun>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QTextEdit>
#include <QTextLayout>
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

QStringList ShownTexts(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget); label != nullptr) {
        return {label->text()};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget); button != nullptr) {
        return {button->text()};
    }
    if (const auto* edit = qobject_cast<const QTextEdit*>(widget); edit != nullptr) {
        return {edit->toPlainText()};
    }
    QStringList items;
    if (const auto* list = qobject_cast<const QComboBox*>(widget); list != nullptr) {
        for (int i = 0; i < list->count(); ++i) {
            items << list->itemText(i);
        }
    }
    return items;
}

// Glyph 0 is a face's "missing" glyph, drawn as a box: none of the faces Qt tried had the letter.
bool ShowsEveryGlyph(const QWidget* window, const QString& path) {
    bool whole = true;
    QList<const QWidget*> widgets{window};
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        widgets << child;
    }
    for (const QWidget* widget : std::as_const(widgets)) {
        if (!widget->isVisible()) {
            continue;
        }
        for (const QString& text : ShownTexts(widget)) {
            for (const QString& line : text.split(QLatin1Char('\n'))) {
                QTextLayout layout(line, widget->font());
                layout.beginLayout();
                layout.createLine();
                layout.endLayout();
                for (const QGlyphRun& run : layout.glyphRuns()) {
                    if (run.glyphIndexes().contains(0)) {
                        std::printf("MISSING GLYPH in %s: \"%s\" (%s)\n", qPrintable(path),
                                    qPrintable(line), qPrintable(run.rawFont().familyName()));
                        whole = false;
                    }
                }
            }
        }
    }
    return whole;
}

bool Save(QWidget* window, const QDir& directory, const Language& language, const char* look) {
    QCoreApplication::processEvents();
    const QString path = directory.filePath(
        QStringLiteral("qt-%1-%2.png")
            .arg(QString::fromStdString(LanguageTag(language)), QLatin1String(look)));
    const bool saved = window->grab().save(path) && ShowsEveryGlyph(window, path);
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
