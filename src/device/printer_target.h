#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

namespace fwup {

struct DeviceEntry;

// The printer a command works on, handed to every step that opens it.
//
// A port name is looked up afresh at every open, and on Linux it is only the interface's position
// among the printer interfaces present at that moment: a printer plugged in or pulled ahead of the
// chosen one gives the name to another printer. An instance ID does not tell two printers of one
// model apart either when they share a serial (or have none). So a pinned target holds the port
// name to the whole identity found when the printer was chosen: its instance ID and its interface
// path, which on Linux holds the bus, port path and device address the kernel gives anew at every
// plug-in. OpenUSBDevice opens the interface behind the name only when both still match; otherwise
// the open fails as the open of a printer that is gone fails, Tool.log gets, once per target,
// "The printer on <port> is not the one checked at the start; nothing was sent to it", and
// Replaced() turns true.
//
// Copies share what was noted, so a front end may ask after the run why it ended. Safe to use
// from any thread.
class PrinterTarget {
  public:
    // A port name alone: each open takes whichever supported printer holds the name then (the
    // printer list, and tests of single steps).
    PrinterTarget(std::wstring_view portName);   // NOLINT(google-explicit-constructor)
    PrinterTarget(const std::wstring& portName)  // NOLINT(google-explicit-constructor)
        : PrinterTarget(std::wstring_view(portName)) {}
    PrinterTarget(const wchar_t* portName)  // NOLINT(google-explicit-constructor)
        : PrinterTarget(std::wstring_view(portName)) {}

    static PrinterTarget Pinned(std::wstring_view portName, std::wstring_view instanceId,
                                std::wstring_view interfacePath);
    // The printer as discovery listed it.
    static PrinterTarget Pinned(const DeviceEntry& entry);

    const std::wstring& portName() const { return portName_; }
    const std::wstring& instanceId() const { return instanceId_; }
    const std::wstring& interfacePath() const { return interfacePath_; }
    bool pinned() const { return refusals_ != nullptr; }

    // For OpenUSBDevice: whether the interface found behind the port name, with `instanceId` at
    // `interfacePath`, is this printer. A refusal is noted for Replaced() and logged as above.
    bool Admits(std::wstring_view instanceId, std::wstring_view interfacePath) const;

    // True once an open found another printer behind the name and was refused.
    bool Replaced() const { return refusals_ && refusals_->replaced.load(); }

  private:
    struct Refusals {
        std::atomic<bool> replaced{false};
        std::atomic<bool> logged{false};
    };

    PrinterTarget() = default;

    std::wstring portName_;
    std::wstring instanceId_;
    std::wstring interfacePath_;
    std::shared_ptr<Refusals> refusals_;  // null: not pinned
};

}  // namespace fwup
