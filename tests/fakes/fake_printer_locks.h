#pragma once

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "app/common/program_services.h"
#include "upgrade/printer_lock.h"

namespace fwup::testing {

// The machine's printer locks within the test process: a key is held while its lock lives.
// Installed while this object lives. Keyed by the instance ID as a simulated printer's lock is,
// or by the interface path as an attached printer's device node lock is (`byInterfacePath`).
class FakePrinterLocks {
  public:
    FakePrinterLocks() = default;
    FakePrinterLocks(const FakePrinterLocks&) = delete;
    FakePrinterLocks& operator=(const FakePrinterLocks&) = delete;

    PrinterLockClaim Take(const DeviceEntry& printer) {
        const std::wstring key = KeyOf(printer);
        std::lock_guard<std::mutex> lock(mutex_);
        taken_.push_back(key);
        if (unavailable) {
            return {LockClaim::kUnavailable, nullptr, L"no place"};
        }
        if (!held_.insert(key).second) {
            return {LockClaim::kHeldElsewhere, nullptr, {}};
        }
        return {LockClaim::kTaken, std::make_unique<Held>(*this, key), {}};
    }
    PrinterLockClaim Take(std::wstring_view instanceId) {
        DeviceEntry printer;
        printer.InstanceId = instanceId;
        return Take(printer);
    }
    bool IsHeld(std::wstring_view instanceId) {
        std::lock_guard<std::mutex> lock(mutex_);
        return held_.count(PrinterLockKey(instanceId)) != 0;
    }
    // Every key a claim was made on, in order.
    std::vector<std::wstring> Taken() {
        std::lock_guard<std::mutex> lock(mutex_);
        return taken_;
    }

    bool unavailable = false;
    bool byInterfacePath = false;

  private:
    std::wstring KeyOf(const DeviceEntry& printer) const {
        return byInterfacePath ? printer.InterfacePath : PrinterLockKey(printer.InstanceId);
    }

    class Held final : public PrinterLock {
      public:
        Held(FakePrinterLocks& locks, std::wstring key) : locks_(locks), key_(std::move(key)) {}
        ~Held() override {
            std::lock_guard<std::mutex> lock(locks_.mutex_);
            locks_.held_.erase(key_);
        }
        bool Guards(const DeviceEntry& printer) const override {
            return locks_.KeyOf(printer) == key_;
        }

      private:
        FakePrinterLocks& locks_;
        std::wstring key_;
    };

    std::mutex mutex_;
    std::set<std::wstring> held_;
    std::vector<std::wstring> taken_;
    const InstalledServices installed_{
        {.printerLocks = [this](const DeviceEntry& printer) { return Take(printer); }}};
};

}  // namespace fwup::testing
