// Progress: SendElf on a worker thread into the in-memory printer while the real Qt main window
// takes its per-block reports, against the same with no window to report to. The benchmark runs
// on the window thread, inside the window's modal loop, and pumps its events while the worker
// sends, as the program does during a run.

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
#include <thread>

#include "bench_support.h"
#include "benchmark_names.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_transfer.h"
#include "protocol/result_codes.h"
#include "sink_printer.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/qt/qt_dialog_surface.h"

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

void SendWhileThePumpRuns(benchmark::State& state, bool reportToWindow) {
    SinkPrinter printer;
    CVevaVoRirizevDlg* const window = pMainDlg.load();
    if (window == nullptr) {
        state.SkipWithError("no main window is running");
        return;
    }
    if (!reportToWindow) {
        pMainDlg.store(nullptr);
    }
    QWidget* const bar = mainSurface != nullptr ? mainSurface->ControlWidget(kIdProgress) : nullptr;
    PaintCounter counter;
    if (bar != nullptr) {
        bar->installEventFilter(&counter);
    }
    const std::size_t size = LinkedPackage(kPackagePlainId).size();
    for (auto _ : state) {
        DropPackagePages();
        printer.totals.bytes = 0;
        std::atomic<bool> done{false};
        int result = 0;
        const Clock::time_point start = Clock::now();
        std::thread worker([&] {
            result = SendElf(kPackagePlainId, L"USB001");
            done.store(true);
            // Wakes the pump, which may be waiting for events.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
        });
        while (!done.load()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        worker.join();
        // Reports still queued are part of the cost.
        QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (result != kResultOk || printer.totals.bytes != size) {
            state.SkipWithError("SendElf did not deliver the package");
            break;
        }
    }
    pMainDlg.store(window);
    if (bar != nullptr) {
        bar->removeEventFilter(&counter);
    }
    state.counters["bar_paints"] =
        benchmark::Counter(static_cast<double>(counter.paints), benchmark::Counter::kAvgIterations);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

}  // namespace

void RegisterProgressBenchmarks(QtDialogSurface& surface, int repetitions) {
    mainSurface = &surface;
    benchmark::RegisterBenchmark(
        kProgressNoOp, [](benchmark::State& state) { SendWhileThePumpRuns(state, false); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10)
        ->Repetitions(repetitions);
    benchmark::RegisterBenchmark(kProgressQt,
                                 [](benchmark::State& state) { SendWhileThePumpRuns(state, true); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10)
        ->Repetitions(repetitions);
}

}  // namespace fwup::bench
