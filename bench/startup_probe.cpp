// The program, started as users start it, that prints when its idle look is on screen and then
// ends at once: "idle-look <steady-clock nanoseconds>". Built twice, with full-size packages and
// with 1 MiB ones, for the start-up benchmark.

#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "app/qt/program.h"

namespace {

// The first paint of a dialog is the main window's idle look being drawn; once that paint is
// done (the next turn of the event loop), the look is on screen.
class IdleLookProbe final : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint &&
            qobject_cast<QDialog*>(watched) != nullptr) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("idle-look %lld\n",
                            static_cast<long long>(std::chrono::nanoseconds(now).count()));
                std::fflush(stdout);
                // What comes after the idle look is not measured.
                _exit(0);
            });
        }
        return false;
    }

  private:
    bool seen_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    return fwup::RunProgram(argc, argv, {.afterApplication = [](QApplication& application) {
                                application.installEventFilter(new IdleLookProbe(&application));
                            }});
}
