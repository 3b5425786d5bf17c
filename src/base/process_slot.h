#pragma once

#include <atomic>
#include <mutex>
#include <utility>

namespace fwup {

// One service the whole process shares: installed by a program's start (or a test) before any
// worker thread starts, read by the core wherever it needs it. While nothing is installed the
// reader gets the fallback the slot's owner names, so the core never checks for "none".
template <typename Service>
class ServiceSlot {
  public:
    Service& Or(Service& fallback) const {
        Service* const installed = installed_.load();
        return installed != nullptr ? *installed : fallback;
    }
    // Installs `service` (nullptr: the fallback again) and gives back what it replaced, so that
    // whoever installs can put it back.
    Service* Exchange(Service* service) { return installed_.exchange(service); }

  private:
    std::atomic<Service*> installed_{nullptr};
};

// The same for a value (a function that makes something, a path), read under a lock because a
// worker thread may read it while a test sets it. An empty value stands for the default.
template <typename Value>
class ValueSlot {
  public:
    Value Get() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return value_;
    }
    Value Exchange(Value value) {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::swap(value_, value);
        return value;
    }

  private:
    mutable std::mutex mutex_;
    Value value_{};
};

}  // namespace fwup
