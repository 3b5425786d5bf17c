#pragma once

// The timed benchmarks, by the names they are registered and filtered under.
namespace fwup::bench {

inline constexpr char kTransferBenchmark[] = "transfer/SendElf_vs_plain_loop";
inline constexpr char kCheckBenchmark[] = "check/digest_check_vs_SendElf";
inline constexpr char kProgressBenchmark[] = "progress/qt_window_vs_no_op_report";
inline constexpr char kStartupBenchmark[] = "startup/full_vs_1MiB_packages";

}  // namespace fwup::bench
