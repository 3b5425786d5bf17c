// Progress: SendElf on a worker thread into the in-memory printer while the real Qt main window
// takes its per-block reports, against the same with no window to report to; in pairs. The
// benchmark runs on the window thread, inside the window's modal loop, and pumps its events while
// the worker sends, as the program does during a run.

#include "progress_bench.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "bench_support.h"
#include "benchmark_names.h"
#include "paired_runs.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_transfer.h"
#include "protocol/result_codes.h"
#include "sink_printer.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/qt/qt_dialog_surface.h"
#include "ui/window_front_end.h"
#include "upgrade/run_status.h"

namespace fwup::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Counts the paints of one widget, to report how often the bar was really drawn.
class PaintCounter final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
    long paints = 0;
};

QtDialogSurface* mainSurface = nullptr;

// One transfer on a worker while this, the window thread, pumps events; with or without the
// window to report to.
double TimeTransfer(SinkPrinter& printer, std::size_t size, bool reportToWindow,
                    CVevaVoRirizevDlg* window) {
    // Each transfer starts with the transfer's look on screen at 0 %, as after a run's first
    // report: what is timed is the per-block reporting, not the one change of look per run.
    window->ShowUpgradeStatus(STATUS_NOT_READY, 0);
    window->ShowUpgradeStatus(STATUS_TRANSFER, 0);
    QCoreApplication::processEvents();
    DropPackagePages();
    printer.totals.bytes = 0;
    pMainDlg.store(reportToWindow ? window : nullptr);
    std::atomic<bool> done{false};
    int result = 0;
    Clock::time_point end;
    const Clock::time_point start = Clock::now();
    std::thread worker([&] {
        MainWindowProgress toWindow;
        result = SendElf(kPackagePlainId, L"USB001", reportToWindow ? &toWindow : nullptr);
        end = Clock::now();
        done.store(true);
        // Wakes the pump, which may be waiting for events.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
    });
    while (!done.load()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    worker.join();
    // The transfer's time ends when SendElf returns. The window draws the last percentage
    // meanwhile, alongside whatever the run does next, as it does in the program.
    QCoreApplication::processEvents();
    const double seconds = std::chrono::duration<double>(end - start).count();
    pMainDlg.store(window);
    if (result != kResultOk || printer.totals.bytes != size) {
        std::fprintf(stderr, "bench: SendElf did not deliver the package (%d)\n", result);
        return -1;
    }
    return seconds;
}

void QtWindowAgainstNoOpReport(benchmark::State& state) {
    CVevaVoRirizevDlg* const window = pMainDlg.load();
    if (window == nullptr) {
        state.SkipWithError("no main window is running");
        return;
    }
    SinkPrinter printer;
    QWidget* const bar = mainSurface != nullptr ? mainSurface->ControlWidget(kIdProgress) : nullptr;
    PaintCounter counter;
    if (bar != nullptr) {
        bar->installEventFilter(&counter);
    }
    const std::size_t size = LinkedPackage(kPackagePlainId).size();
    RunPairs(
        state, "qt_window", [&] { return TimeTransfer(printer, size, true, window); },
        "no_op_report", [&] { return TimeTransfer(printer, size, false, window); },
        [](double qt, double noOp) { return (qt - noOp) / noOp * 100; });
    if (bar != nullptr) {
        bar->removeEventFilter(&counter);
    }

    state.counters["bar_paints"] =
        benchmark::Counter(static_cast<double>(counter.paints), benchmark::Counter::kAvgIterations);
}

}  // namespace

void RegisterProgressBenchmarks(QtDialogSurface& surface, int repetitions) {
    mainSurface = &surface;
    benchmark::RegisterBenchmark(kProgressBenchmark, QtWindowAgainstNoOpReport)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20)
        ->Repetitions(repetitions);
}

}  // namespace fwup::bench
