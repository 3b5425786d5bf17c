#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "device/discovery.h"

namespace fwup {

// One upgrade run per printer across every process of the machine: the window and console
// programs, under any user. Held from the moment a run has chosen its printer until the run
// (its flash wait and the console program's verification included) has ended; released when
// destroyed, and by the system when the process dies, so no crash leaves it behind.
class PrinterLock {
  public:
    virtual ~PrinterLock() = default;
    // Whether this lock keeps other runs off `printer` as it is listed now. A lock on a USB
    // device node guards only that node: a printer that has come back from its flash under a
    // new one needs its lock taken again before it is read.
    virtual bool Guards(const DeviceEntry& printer) const = 0;
};

enum class LockClaim {
    kTaken,          // this run holds the printer
    kHeldElsewhere,  // another run holds it: send nothing
    kUnavailable,    // the lock could not be taken (`detail` says why): send nothing either
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

// The platform's lock for a simulated printer's `key` (defined in the platform folder). Linux:
// flock on <folder>/<key>.lock, the folder `place`, or where none is named a folder private to
// this user ($XDG_RUNTIME_DIR/viruzu-fwup, /run/viruzu-fwup for root, /tmp/viruzu-fwup-<uid>),
// made 0700; a folder reached through a symlink, owned by another user or writable by others is
// refused. Windows: the mutex of TakeHostDeviceLock, with the hash of `place` in its name, so that
// test runs on the same scenario do not collide.
PrinterLockClaim TakeHostPrinterLock(std::wstring_view key,
                                     const std::optional<std::filesystem::path>& place);

// The platform's lock for an attached printer. Linux: flock on the printer's own USB device node
// (/dev/bus/usb/BBB/DDD from its interface path), opened for writing, so only who may use the
// printer (root, the seated user udev gives it to) can hold it. Windows: the mutex
// viruzu-fwup\<key> in a private namespace whose boundary is the Administrators group (where the
// system offers none, Global\viruzu-fwup-<key> made with a DACL of SYSTEM and Administrators, its
// owner checked when it exists).
PrinterLockClaim TakeHostDeviceLock(const DeviceEntry& printer);

// Names the lock place of test runs; honoured only while the printers are simulated, so a real
// printer's lock is always in the system's place.
inline constexpr const wchar_t* kLockPlaceVariable = L"VIRUZU_FWUP_LOCK_DIR";

// What the run takes its printer's lock from. None is installed by default: every claim is taken
// without a lock, so tests and tools share nothing; the programs install HostPrinterLockTaker().
// Install before any worker thread starts; an empty function restores the default. The taker
// installed before is returned.
using PrinterLockTaker = std::function<PrinterLockClaim(const DeviceEntry& printer)>;
PrinterLockTaker SetPrinterLockTaker(PrinterLockTaker taker);
PrinterLockClaim TakePrinterLock(const DeviceEntry& printer);

// Takes the lock of `printer` for a run into `lock`, and logs what stops it. False when the run
// must send the printer nothing: another run holds it, or the lock could not be taken at all (a
// run without the lock could meet a second one); `why`, when given, gets the reason then.
bool ClaimPrinter(const DeviceEntry& printer, std::unique_ptr<PrinterLock>& lock,
                  std::wstring* why = nullptr);

// The host's locks: while VIRUZU_FWUP_EMULATE is set, the simulated printers' locks in the place
// kLockPlaceVariable names (or a private one); otherwise the attached printers' own (both read
// now).
PrinterLockTaker HostPrinterLockTaker();

}  // namespace fwup
