#pragma once

namespace fwup {
class QtDialogSurface;
}

namespace fwup::bench {

// Needs the Qt main window on `surface` running (pMainDlg set) when the benchmarks run.
void RegisterProgressBenchmarks(QtDialogSurface& surface, int repetitions);

}  // namespace fwup::bench
