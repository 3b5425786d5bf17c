#pragma once

#include <atomic>

namespace fwup {

// Status codes the upgrade run passes to its front end's ShowStatus (the window's
// ShowUpgradeStatus).
inline constexpr int STATUS_FAILED = 1;     // value 0
inline constexpr int STATUS_SUCCEEDED = 2;  // value 100
inline constexpr int STATUS_NOT_READY = 5;  // value 0
inline constexpr int STATUS_TRANSFER = 8;   // value: percentage of the package written

// True while an upgrade run is active. The main window refuses to close while it is set, since
// the worker still calls into the window and the printer must not be left half-written.
extern std::atomic<bool> bUpgrading;

}  // namespace fwup
