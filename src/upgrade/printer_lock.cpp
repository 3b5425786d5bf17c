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

PrinterLockClaim TakePrinterLock(std::wstring_view instanceId) {
    const PrinterLockTaker taker = InstalledTaker().Get();
    return taker ? taker(instanceId) : PrinterLockClaim{};
}

bool ClaimPrinter(std::wstring_view instanceId, std::unique_ptr<PrinterLock>& lock) {
    PrinterLockClaim claim = TakePrinterLock(instanceId);
    switch (claim.claim) {
        case LockClaim::kHeldElsewhere:
            WriteToolLog(L"Another upgrade run holds the printer " + ShownText(instanceId) +
                         L"; nothing was sent to it");
            return false;
        case LockClaim::kUnavailable:
            WriteToolLog(L"The printer's lock could not be taken (" + claim.detail +
                         L"); going on without it");
            return true;
        case LockClaim::kTaken:
            lock = std::move(claim.lock);
            return true;
    }
    return true;
}

PrinterLockTaker HostPrinterLockTaker() {
    std::optional<std::filesystem::path> place;
    if (EnvironmentPath(kEmulateVariable)) {
        place = EnvironmentPath(kLockPlaceVariable);
    }
    return [place](std::wstring_view instanceId) {
        return TakeHostPrinterLock(PrinterLockKey(instanceId), place);
    };
}

}  // namespace fwup
