#pragma once

#include <QApplication>

namespace fwup::testing {

// Run by hand, the Qt tests still need no display: the offscreen platform unless one is named.
struct OffscreenUnlessNamed {
    OffscreenUnlessNamed() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
};

// The application every Qt test binary runs under. The platform is chosen before QApplication
// reads it (bases are made in order), and closing a test's last window does not quit it.
class QtTestApplication : private OffscreenUnlessNamed, public QApplication {
  public:
    QtTestApplication(int& argc, char** argv) : QApplication(argc, argv) {
        setQuitOnLastWindowClosed(false);
    }
};

}  // namespace fwup::testing
