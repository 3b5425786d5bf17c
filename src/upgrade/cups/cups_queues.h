#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "device/libusb/printer_port_lookup.h"
#include "upgrade/print_queues.h"

namespace fwup::cups {

// How long one connection to the CUPS server, or one wait for its reply, may take. A server that
// is down refuses at once; this bounds one that is unreachable or stalled.
inline constexpr int kServerTimeoutMs = 5000;

// The printer a usb:// device URI names, as the CUPS usb backend writes them:
// usb://Make/Model?serial=XXX&interface=N (both parameters optional, the serial percent-decoded).
// The URI carries no vendor or product ID, so those stay 0. None for any other scheme and for a
// URI whose serial or interface cannot be read.
std::optional<libusb::UsbPrinterKey> UsbPrinterOfUri(std::string_view deviceUri);

// The port name of the supported printer present on `backend` that `deviceUri` points at,
// matched by serial (its USB serial string or the serial of its IEEE 1284 device ID) and
// interface under every vendor and product ID of the device table; empty when the URI is not a
// usb:// one or the printer is not connected.
std::wstring PortOfDeviceUri(libusb::UsbBackend& backend, std::string_view deviceUri);

// The same over this machine's USB; empty also when libusb cannot start.
std::wstring HostPortOfDeviceUri(std::string_view deviceUri);

// Port name of a queue's device URI; empty for a queue that prints to none of ours.
using PortOfUri = std::function<std::wstring(std::string_view deviceUri)>;

// The queues of the CUPS server libcups is pointed at (cupsServer(), so CUPS_SERVER too), by
// name, each with the port its device URI resolves to. Only queues with a port get their active
// (pending, held or processing) jobs counted: a queue without one can never decide whether a
// port is occupied, and asking about it could only make the listing fail. Never prompts for a
// password.
class CupsQueueSource final : public PrintQueueSource {
  public:
    explicit CupsQueueSource(PortOfUri portOfUri = HostPortOfDeviceUri)
        : portOfUri_(std::move(portOfUri)) {}

    std::optional<std::vector<PrintQueue>> ListQueues() override;

  private:
    PortOfUri portOfUri_;
};

}  // namespace fwup::cups
