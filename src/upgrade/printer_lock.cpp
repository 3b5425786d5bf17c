#include "upgrade/printer_lock.h"

#include <cstdint>
#include <span>
#include <utility>

#include "base/environment.h"
#include "base/fnv1a.h"
#include "base/process_slot.h"
#include "base/shown_text.h"
#include "base/wide_text.h"
#include "device/simulated_printers.h"
#include "log/tool_log.h"

namespace fwup {
namespace {

// Far below the 255 bytes of a file name and the mutex name limit, with room for the prefix.
constexpr std::size_t kMaxKeyChars = 160;
constexpr std::size_t kKeptHeadChars = 140;

ValueSlot<PrinterLockTaker>& InstalledTaker() {
    static ValueSlot<PrinterLockTaker> taker;
    return taker;
}

bool KeptAsIs(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

}  // namespace

std::wstring PrinterLockKey(std::wstring_view instanceId) {
    const std::string utf8 = ToUtf8(instanceId);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::wstring key;
    for (char c : utf8) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (KeptAsIs(c)) {
            key.push_back(static_cast<wchar_t>(c));
            continue;
        }
        const auto byte = static_cast<std::uint8_t>(c);
        key.push_back(L'%');
        key.push_back(static_cast<wchar_t>(kHex[byte >> 4]));
        key.push_back(static_cast<wchar_t>(kHex[byte & 0x0F]));
    }
    if (key.size() > kMaxKeyChars) {
        const std::uint64_t digest = Fnv1a64Digest(std::span<const std::uint8_t>(
            reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()));
        key.resize(kKeptHeadChars);
        key.push_back(L'~');
        for (int shift = 60; shift >= 0; shift -= 4) {
            key.push_back(static_cast<wchar_t>(kHex[(digest >> shift) & 0x0F]));
        }
    }
    return key;
}

PrinterLockTaker SetPrinterLockTaker(PrinterLockTaker taker) {
    return InstalledTaker().Exchange(std::move(taker));
}

PrinterLockClaim TakePrinterLock(const DeviceEntry& printer) {
    const PrinterLockTaker taker = InstalledTaker().Get();
    return taker ? taker(printer) : PrinterLockClaim{};
}

bool ClaimPrinter(const DeviceEntry& printer, std::unique_ptr<PrinterLock>& lock,
                  std::wstring* why) {
    PrinterLockClaim claim = TakePrinterLock(printer);
    std::wstring reason;
    switch (claim.claim) {
        case LockClaim::kTaken:
            lock = std::move(claim.lock);
            return true;
        case LockClaim::kHeldElsewhere:
            WriteToolLog(L"Another upgrade run holds the printer " + ShownText(printer.InstanceId) +
                         L"; nothing was sent to it");
            reason = L"another upgrade run holds the printer";
            break;
        case LockClaim::kUnavailable:
            // Going on without the lock is what a planted file or folder would want: a second
            // run could then send its package into this one's.
            WriteToolLog(L"The lock of the printer " + ShownText(printer.InstanceId) +
                         L" could not be taken (" + ShownText(claim.detail) +
                         L"); nothing was sent to it");
            reason = L"the printer's lock could not be taken: " + claim.detail;
            break;
    }
    if (why != nullptr) {
        *why = reason;
    }
    return false;
}

PrinterLockTaker HostPrinterLockTaker() {
    if (!EnvironmentPath(kEmulateVariable)) {
        return [](const DeviceEntry& printer) { return TakeHostDeviceLock(printer); };
    }
    const std::optional<std::filesystem::path> place = EnvironmentPath(kLockPlaceVariable);
    return [place](const DeviceEntry& printer) {
        return TakeHostPrinterLock(PrinterLockKey(printer.InstanceId), place);
    };
}

}  // namespace fwup
