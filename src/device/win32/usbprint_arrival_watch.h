#pragma once

#include <windows.h>

#include <memory>

#include "device/printer_arrivals.h"

namespace fwup::win32 {

// Counts the USB printing interfaces that arrive or are removed, as the system announces them to
// a message-only window of the watch's own thread (WM_DEVICECHANGE). Nothing is opened or asked.
class UsbPrintArrivalWatch : public ArrivalWatch {
  public:
    // The window the notices come to, for a test that sends them itself.
    virtual HWND window() const = 0;
};

// Null when the thread, its window or the notification registration cannot be made. Destroying
// the watch closes the window and waits for its thread.
std::unique_ptr<UsbPrintArrivalWatch> MakeUsbPrintArrivalWatch();

}  // namespace fwup::win32
