#pragma once

#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "app/common/program_services.h"
#include "upgrade/printer_lock.h"

namespace fwup::testing {

// The machine's printer locks within the test process: a key is held while its lock lives.
// Installed while this object lives.
class FakePrinterLocks {
  public:
    FakePrinterLocks() = default;
    FakePrinterLocks(const FakePrinterLocks&) = delete;
    FakePrinterLocks& operator=(const FakePrinterLocks&) = delete;

    PrinterLockClaim Take(std::wstring_view instanceId) {
        if (unavailable) {
            return {LockClaim::kUnavailable, nullptr, L"no place"};
        }
        const std::wstring key = PrinterLockKey(instanceId);
        std::lock_guard<std::mutex> lock(mutex_);
        if (!held_.insert(key).second) {
            return {LockClaim::kHeldElsewhere, nullptr, {}};
        }
        return {LockClaim::kTaken, std::make_unique<Held>(*this, key), {}};
    }
    bool IsHeld(std::wstring_view instanceId) {
        std::lock_guard<std::mutex> lock(mutex_);
        return held_.count(PrinterLockKey(instanceId)) != 0;
    }

    bool unavailable = false;

  private:
    class Held final : public PrinterLock {
      public:
        Held(FakePrinterLocks& locks, std::wstring key) : locks_(locks), key_(std::move(key)) {}
        ~Held() override {
            std::lock_guard<std::mutex> lock(locks_.mutex_);
            locks_.held_.erase(key_);
        }

      private:
        FakePrinterLocks& locks_;
        std::wstring key_;
    };

    std::mutex mutex_;
    std::set<std::wstring> held_;
    const InstalledServices installed_{
        {.printerLocks = [this](std::wstring_view instanceId) { return Take(instanceId); }}};
};

}  // namespace fwup::testing
