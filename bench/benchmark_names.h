#pragma once

// The timed benchmarks, by the names they are registered and filtered under.
namespace fwup::bench {

inline constexpr char kTransferSendElf[] = "transfer/SendElf";
inline constexpr char kTransferPlainLoop[] = "transfer/plain_256KiB_loop";
inline constexpr char kProgressNoOp[] = "progress/no_op_report";
inline constexpr char kProgressQt[] = "progress/qt_window";
inline constexpr char kStartupSmall[] = "startup/1MiB_packages";
inline constexpr char kStartupFull[] = "startup/full_packages";

}  // namespace fwup::bench
