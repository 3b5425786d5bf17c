#pragma once

namespace fwup::bench {

// Needs the Qt main window running (pMainDlg set) when the benchmarks run.
void RegisterProgressBenchmarks(int repetitions);

}  // namespace fwup::bench
