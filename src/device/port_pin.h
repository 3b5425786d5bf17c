#pragma once

#include <string>
#include <string_view>

namespace fwup {

// Holds a port name to the device it named when the printer was chosen.
//
// A port name is looked up afresh at every open, and on Linux it is only the interface's position
// among the printer interfaces present at that moment: a printer plugged in or pulled ahead of the
// chosen one gives the name to another printer. While a pin is alive, OpenUSBDevice(portName)
// opens the interface behind `portName` only when that interface's device instance ID still
// equals `instanceId`. Otherwise the open fails as the open of a printer that is gone fails
// (null), and Tool.log gets, once per pin, "The printer on <port> is not the one checked at the
// start; nothing was sent to it". Opens of other port names are not affected.
//
// One pin at a time: a new pin replaces the one before it, and only the pin still in force is
// cleared by its destruction. The upgrade run holds one for its whole duration, on its worker
// thread; any thread may take or drop a pin, and opens on any thread see it.
class PortPin {
  public:
    PortPin(std::wstring_view portName, std::wstring_view instanceId);
    ~PortPin();
    PortPin(const PortPin&) = delete;
    PortPin& operator=(const PortPin&) = delete;

  private:
    unsigned long long generation_;
};

// True when, since the last pin was taken, an open of its port found another printer behind the
// name and was refused. It stays true after the pin is dropped, so a front end may ask once the
// run has ended why it ended; taking a new pin resets it. Safe from any thread.
bool PinnedPrinterReplaced();

// For OpenUSBDevice: whether the interface found behind `portName`, whose device instance ID is
// `instanceId`, may be opened under the pin in force. A refusal is noted for
// PinnedPrinterReplaced and logged as above.
bool PinAllowsOpen(std::wstring_view portName, std::wstring_view instanceId);

}  // namespace fwup
