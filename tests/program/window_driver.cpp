// Drives the real program's window as a user would, for tests that run the built executable:
// loaded into it with LD_PRELOAD, it starts with the program's QApplication and, on the program's
// own event loop,
//   1. presses the button labelled FWUP_DRIVER_PRESS once it is shown and enabled,
//   2. waits until a label shows FWUP_DRIVER_AWAIT and the button FWUP_DRIVER_THEN_PRESS is
//      shown and enabled, prints "window_driver: shown: <text>" and presses that button, again
//      each half second while the program runs: the window refuses to close while the run is
//      still returning.
//   3. with FWUP_DRIVER_CLOSE_ON set, once step 2 is done and the button so labelled is shown and
//      enabled again (the window back at its idle look), prints "window_driver: back: <text>"
//      and closes the windows, as the user would.
// After FWUP_DRIVER_TIMEOUT_S seconds (default 90) without getting there it prints what the
// window shows and ends the process with status 3. Nothing of the program is changed or linked.

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

QString Setting(const char* name) {
    return QString::fromUtf8(qgetenv(name));
}

QPushButton* ShownButton(const QString& text) {
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* button = qobject_cast<QPushButton*>(widget);
        if (button != nullptr && button->isVisible() && button->isEnabled() &&
            button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

bool LabelShown(const QString& text) {
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* label = qobject_cast<QLabel*>(widget);
        if (label != nullptr && label->isVisible() && label->text() == text) {
            return true;
        }
    }
    return false;
}

[[noreturn]] void GiveUp(const char* waitingFor) {
    std::fprintf(stderr, "window_driver: timed out waiting for %s; the window shows:\n",
                 waitingFor);
    for (QWidget* widget : QApplication::allWidgets()) {
        if (!widget->isVisible()) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(widget);
            label != nullptr && !label->text().isEmpty()) {
            std::fprintf(stderr, "  label  %s\n", qPrintable(label->text()));
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            std::fprintf(stderr, "  button %s\n", qPrintable(button->text()));
        }
    }
    std::fflush(stderr);
    std::_Exit(3);
}

void StartDriving() {
    const QString press = Setting("FWUP_DRIVER_PRESS");
    const QString await = Setting("FWUP_DRIVER_AWAIT");
    const QString thenPress = Setting("FWUP_DRIVER_THEN_PRESS");
    const QString closeOn = Setting("FWUP_DRIVER_CLOSE_ON");
    if (press.isEmpty() || await.isEmpty() || thenPress.isEmpty()) {
        std::fprintf(stderr,
                     "window_driver: FWUP_DRIVER_PRESS, _AWAIT and _THEN_PRESS are needed\n");
        std::_Exit(3);
    }
    bool ok = false;
    int timeoutS = Setting("FWUP_DRIVER_TIMEOUT_S").toInt(&ok);
    if (!ok || timeoutS <= 0) {
        timeoutS = 90;
    }

    auto* timer = new QTimer(QCoreApplication::instance());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto pressed = std::make_shared<bool>(false);
    auto shown = std::make_shared<bool>(false);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (!*pressed) {
            if (QPushButton* button = ShownButton(press)) {
                *pressed = true;
                button->click();
            } else if (clock->elapsed() > timeoutS * 1000LL) {
                GiveUp(qPrintable(press));
            }
            return;
        }
        QPushButton* done = ShownButton(thenPress);
        if (done != nullptr && LabelShown(await)) {
            if (!*shown) {
                *shown = true;
                std::printf("window_driver: shown: %s\n", qPrintable(await));
                std::fflush(stdout);
                timer->setInterval(500);
            }
            done->click();
        } else if (*shown && !closeOn.isEmpty() && ShownButton(closeOn) != nullptr) {
            std::printf("window_driver: back: %s\n", qPrintable(closeOn));
            std::fflush(stdout);
            timer->stop();
            QApplication::closeAllWindows();
        } else if (clock->elapsed() > timeoutS * 1000LL) {
            GiveUp(qPrintable(await));
        }
    });
    timer->start(100);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartDriving)
