#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace fwup {

// One upgrade run per printer across every process of the machine: the window and console
// programs, under any user. Held from the moment a run has chosen its printer until the run
// (its flash wait and the console program's verification included) has ended; released when
// destroyed, and by the system when the process dies, so no crash leaves it behind.
class PrinterLock {
  public:
    virtual ~PrinterLock() = default;
};

enum class LockClaim {
    kTaken,          // this run holds the printer
    kHeldElsewhere,  // another run holds it: send nothing
    kUnavailable,    // no lock could be made here (`detail` says why)
};

struct PrinterLockClaim {
    LockClaim claim = LockClaim::kTaken;
    std::unique_ptr<PrinterLock> lock;  // when taken; null where no locks are installed
    std::wstring detail;
};

// The part of a lock's file or mutex name that stands for the printer with `instanceId`: ASCII
// letters upper-cased (Windows compares instance IDs without case), digits, '-', '_' and '.'
// kept, every other UTF-8 byte written %XX, so two instance IDs never share a key; a long key
// keeps its head and ends in a hash of the whole, to stay within name limits.
std::wstring PrinterLockKey(std::wstring_view instanceId);

// The platform's lock for `key` (defined in the platform folder). Linux: flock on
// <folder>/<key>.lock, the folder /run/lock/viruzu-fwup (made sticky and writable by all), or
// $XDG_RUNTIME_DIR/viruzu-fwup where that cannot be made or opened. Windows: the named mutex
// Global\viruzu-fwup-<key>. `place` replaces the folder (Linux) or adds its hash to the name
// (Windows), so that test runs on the same scenario do not collide.
PrinterLockClaim TakeHostPrinterLock(std::wstring_view key,
                                     const std::optional<std::filesystem::path>& place);

// Names the lock place of test runs; honoured only while the printers are simulated, so a real
// printer's lock is always in the system's place.
inline constexpr const wchar_t* kLockPlaceVariable = L"VIRUZU_FWUP_LOCK_DIR";

// What the run takes its printer's lock from. None is installed by default: every claim is taken
// without a lock, so tests and tools share nothing; the programs install HostPrinterLockTaker().
// Install before any worker thread starts; an empty function restores the default. The taker
// installed before is returned.
using PrinterLockTaker = std::function<PrinterLockClaim(std::wstring_view instanceId)>;
PrinterLockTaker SetPrinterLockTaker(PrinterLockTaker taker);
PrinterLockClaim TakePrinterLock(std::wstring_view instanceId);

// Takes the lock of the printer with `instanceId` for a run into `lock`, and logs what stops or
// weakens it. False when another run holds the printer: send it nothing. Where no lock can be
// made, the run goes on without one (the lock keeps a second run away; a machine that offers no
// place for it still lets the only run go on).
bool ClaimPrinter(std::wstring_view instanceId, std::unique_ptr<PrinterLock>& lock);

// The host's locks, in the place kLockPlaceVariable names while VIRUZU_FWUP_EMULATE is set, in
// the system's place otherwise (both read now).
PrinterLockTaker HostPrinterLockTaker();

}  // namespace fwup
