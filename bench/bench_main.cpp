// fwup_bench: the timed benchmarks (transfer, progress, start-up) with their figures, or with
// --memory the memory measurement (see memory_mode.cpp). Google Benchmark's own flags apply,
// e.g. --benchmark_filter=transfer; --repetitions=N sets how many times each runs (default 9).
// Each benchmark runs its two sides in pairs (paired_runs.h); a figure is the median over the
// repetitions of the pairs' median, and the repetitions of the benchmarks are interleaved.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "memory_mode.h"
#include "progress_bench.h"
#include "startup_bench.h"
#include "text/lang_text.h"
#include "timed_figures.h"
#include "transfer_bench.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/qt/qt_dialog_surface.h"

int main(int argc, char** argv) {
    using namespace fwup;
    using namespace fwup::bench;

    if (argc > 1 && std::strcmp(argv[1], "--memory") == 0) {
        return RunMemoryMode(argc - 2, argv + 2);
    }

    std::vector<char*> arguments(argv, argv + argc);
    int repetitions = 9;
    for (auto it = arguments.begin() + 1; it != arguments.end();) {
        if (std::strncmp(*it, "--repetitions=", 14) == 0) {
            repetitions = std::max(1, std::atoi(*it + 14));
            it = arguments.erase(it);
        } else {
            ++it;
        }
    }
    // A default; the caller's own flag comes later and wins.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave);
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);

    // The window is real but needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(count, arguments.data());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        return 2;
    }

    const std::filesystem::path programDir =
        std::filesystem::read_symlink("/proc/self/exe").parent_path();
    SilentNotices notices;
    QtDialogSurfaceFactory factory;
    QtDialogSurface surface(kMainDialogTemplate);
    RegisterTransferBenchmarks(repetitions);
    RegisterProgressBenchmarks(surface, repetitions);
    RegisterStartupBenchmarks(programDir, repetitions);
    TimedResults results;
    {
        CVevaVoRirizevDlg dialog(surface, factory, MainWindowHooks{.selectLanguage = [] {
                                     UiLangId.store(LANG_ENGLISH);
                                 }});
        QTimer::singleShot(0, [&] {
            benchmark::RunSpecifiedBenchmarks(&results);
            surface.EndDialog(kIdExit);
        });
        dialog.DoModal();
    }
    benchmark::Shutdown();

    bool allMet = true;
    for (const Figure& figure : TimedFigures(results)) {
        PrintFigure(figure);
        allMet = allMet && figure.met;
    }
    return allMet ? 0 : 1;
}
