#include "device/libusb/usb_arrival_watch.h"

#include <libusb.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>

#include "base/hex_digit.h"
#include "device/device_table.h"

namespace fwup::libusb {
namespace {

// How long one slice of event handling may wait: a bound on a stop that the interrupt missed.
constexpr long kEventSliceUs = 200'000;
// After libusb's event handling failed, the pause before the next slice, so a lasting failure
// does not spin a core.
constexpr std::chrono::milliseconds kPauseAfterFailure{250};

class UsbArrivalWatch final : public ArrivalWatch {
  public:
    explicit UsbArrivalWatch(libusb_context* context) : context_(context) {}
    UsbArrivalWatch(const UsbArrivalWatch&) = delete;
    UsbArrivalWatch& operator=(const UsbArrivalWatch&) = delete;

    ~UsbArrivalWatch() override {
        Stop();
        for (libusb_hotplug_callback_handle handle : handles_) {
            libusb_hotplug_deregister_callback(context_, handle);
        }
        libusb_exit(context_);
    }

    std::uint64_t Changes() override { return changes_.load(std::memory_order_relaxed); }

    bool Register(std::span<const std::uint16_t> vendorIds) {
        const auto events = static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED |
                                                              LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT);
        std::vector<int> vendors(vendorIds.begin(), vendorIds.end());
        if (vendors.empty()) {
            vendors.push_back(LIBUSB_HOTPLUG_MATCH_ANY);
        }
        for (int vendor : vendors) {
            libusb_hotplug_callback_handle handle = 0;
            if (libusb_hotplug_register_callback(context_, events, LIBUSB_HOTPLUG_NO_FLAGS, vendor,
                                                 LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
                                                 &UsbArrivalWatch::Seen, this,
                                                 &handle) != LIBUSB_SUCCESS) {
                return false;
            }
            handles_.push_back(handle);
        }
        return true;
    }

    bool Start() {
        try {
            thread_ = std::thread([this] { HandleEvents(); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

  private:
    static int LIBUSB_CALL Seen(libusb_context*, libusb_device*, libusb_hotplug_event, void* self) {
        static_cast<UsbArrivalWatch*>(self)->changes_.fetch_add(1, std::memory_order_relaxed);
        return 0;  // stay registered
    }

    void HandleEvents() {
        while (!stop_.load()) {
            timeval slice{0, kEventSliceUs};
            if (libusb_handle_events_timeout_completed(context_, &slice, nullptr) < 0) {
                std::unique_lock<std::mutex> lock(mutex_);
                stopped_.wait_for(lock, kPauseAfterFailure, [this] { return stop_.load(); });
            }
        }
    }

    void Stop() {
        if (!thread_.joinable()) {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        stopped_.notify_all();
        libusb_interrupt_event_handler(context_);
        thread_.join();
    }

    libusb_context* const context_;
    std::vector<libusb_hotplug_callback_handle> handles_;
    std::atomic<std::uint64_t> changes_{0};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable stopped_;
    std::thread thread_;  // last: started once everything it reads exists
};

}  // namespace

std::unique_ptr<ArrivalWatch> MakeUsbArrivalWatch(std::span<const std::uint16_t> vendorIds) {
    libusb_context* context = nullptr;
    if (libusb_init(&context) != LIBUSB_SUCCESS) {
        return nullptr;
    }
    if (libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) == 0) {
        libusb_exit(context);
        return nullptr;
    }
    auto watch = std::make_unique<UsbArrivalWatch>(context);
    if (!watch->Register(vendorIds) || !watch->Start()) {
        return nullptr;
    }
    return watch;
}

std::vector<std::uint16_t> DeviceTableVendorIds() {
    constexpr std::wstring_view kPrefix = L"USB\\VID_";
    std::vector<std::uint16_t> vendors;
    for (const DeviceTableRow& row : DeviceTable) {
        if (row.HardID.size() < kPrefix.size() + 4 ||
            row.HardID.substr(0, kPrefix.size()) != kPrefix) {
            continue;
        }
        unsigned vendor = 0;
        bool hex = true;
        for (wchar_t c : row.HardID.substr(kPrefix.size(), 4)) {
            const int digit = c < 0x80 ? HexDigitValue(static_cast<char>(c)) : -1;
            hex = hex && digit >= 0;
            vendor = vendor * 16 + static_cast<unsigned>(std::max(digit, 0));
        }
        if (hex && std::find(vendors.begin(), vendors.end(), vendor) == vendors.end()) {
            vendors.push_back(static_cast<std::uint16_t>(vendor));
        }
    }
    return vendors;
}

}  // namespace fwup::libusb
