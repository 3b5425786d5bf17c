#pragma once

#include <QObject>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ui/qt/qt_dialog_surface.h"

namespace fwup::testing {

// The test suites of the binary, by class name, so that each runs as a test of its own.
using SuiteFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<std::pair<std::string, SuiteFactory>>& QtTestSuites();

struct QtSuiteRegistration {
    QtSuiteRegistration(const char* name, SuiteFactory factory) {
        QtTestSuites().emplace_back(name, std::move(factory));
    }
};

#define FWUP_QT_TEST_SUITE(Class)                                       \
    static const ::fwup::testing::QtSuiteRegistration kRegister##Class( \
        #Class, [] { return std::make_unique<Class>(); })

// The side an alignment names, without the flag that makes it absolute.
inline Qt::Alignment Side(Qt::Alignment alignment) {
    return alignment & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify);
}

// What RunModal returns when a script left the dialog open, as after a failed check.
inline constexpr int kAbandoned = -99;

// Runs `script` as soon as the modal loop of `surface` runs, and ends a dialog the script left
// open, so that a failed check never leaves a test waiting on a window.
inline void WhenModal(QtDialogSurface& surface, std::function<void()> script) {
    QTimer::singleShot(0, [&surface, script = std::move(script)] {
        script();
        surface.EndDialog(kAbandoned);
    });
}

// Runs `work` on a thread of its own, as the upgrade worker does, while this thread keeps
// pumping events to serve the worker's requests. False when it took more than five seconds.
inline bool RunOnWorker(const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done.store(true);
    });
    const bool finished = QTest::qWaitFor([&] { return done.load(); }, 5000);
    worker.join();
    return finished;
}

}  // namespace fwup::testing
