#include "device/port_pin.h"

#include <atomic>
#include <mutex>
#include <optional>

#include "log/tool_log.h"

namespace fwup {
namespace {

struct Pin {
    std::wstring portName;
    std::wstring instanceId;
    unsigned long long generation = 0;
    bool refusalLogged = false;
};

std::mutex pinMutex;
std::optional<Pin> pinInForce;          // guarded by pinMutex
unsigned long long lastGeneration = 0;  // guarded by pinMutex
std::atomic<bool> pinnedPrinterReplaced{false};

}  // namespace

PortPin::PortPin(std::wstring_view portName, std::wstring_view instanceId) {
    std::lock_guard<std::mutex> lock(pinMutex);
    generation_ = ++lastGeneration;
    pinInForce = Pin{std::wstring(portName), std::wstring(instanceId), generation_, false};
    pinnedPrinterReplaced.store(false);
}

PortPin::~PortPin() {
    std::lock_guard<std::mutex> lock(pinMutex);
    if (pinInForce && pinInForce->generation == generation_) {
        pinInForce.reset();
    }
}

bool PinnedPrinterReplaced() {
    return pinnedPrinterReplaced.load();
}

bool PinAllowsOpen(std::wstring_view portName, std::wstring_view instanceId) {
    bool log = false;
    {
        std::lock_guard<std::mutex> lock(pinMutex);
        if (!pinInForce || pinInForce->portName != portName ||
            pinInForce->instanceId == instanceId) {
            return true;
        }
        log = !pinInForce->refusalLogged;
        pinInForce->refusalLogged = true;
        pinnedPrinterReplaced.store(true);
    }
    if (log) {
        // Written outside the lock: the log opens a file, and nothing here needs to wait on it.
        WriteToolLog(L"The printer on " + std::wstring(portName) +
                     L" is not the one checked at the start; nothing was sent to it");
    }
    return false;
}

}  // namespace fwup
