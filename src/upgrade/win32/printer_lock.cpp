// Windows: a named mutex per printer in the Global namespace, so that every session sees it. The
// handle's existence is the lock (nobody waits on or owns the mutex), so it does not matter which
// thread made it; the system closes it when the process ends, however it ends.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "base/fnv1a.h"
#include "base/wide_text.h"
#include "upgrade/printer_lock.h"

namespace fwup {
namespace {

class MutexLock final : public PrinterLock {
  public:
    explicit MutexLock(HANDLE mutex) : mutex_(mutex) {}
    ~MutexLock() override { CloseHandle(mutex_); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

  private:
    HANDLE mutex_;
};

std::wstring PlaceTag(const std::filesystem::path& place) {
    const std::string utf8 = ToUtf8(place.wstring());
    const std::uint64_t digest = Fnv1a64Digest(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()));
    return std::to_wstring(digest) + L"-";
}

}  // namespace

PrinterLockClaim TakeHostPrinterLock(std::wstring_view key,
                                     const std::optional<std::filesystem::path>& place) {
    std::wstring name = L"Global\\viruzu-fwup-";
    if (place) {
        name += PlaceTag(*place);
    }
    name.append(key);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    const DWORD error = GetLastError();
    if (mutex == nullptr) {
        // Another user's run made it, with a security descriptor that keeps this user out.
        if (error == ERROR_ACCESS_DENIED) {
            return {LockClaim::kHeldElsewhere, nullptr, {}};
        }
        return {LockClaim::kUnavailable, nullptr,
                L"CreateMutexW " + name + L" failed with " + std::to_wstring(error)};
    }
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return {LockClaim::kHeldElsewhere, nullptr, {}};
    }
    return {LockClaim::kTaken, std::make_unique<MutexLock>(mutex), {}};
}

}  // namespace fwup
