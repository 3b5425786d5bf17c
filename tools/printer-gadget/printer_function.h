#pragma once

#include <linux/usb/ch9.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "configfs_gadget.h"
#include "emulation/sim_printer.h"
#include "usb_identity.h"

namespace fwup::gadget {

// Faults only a real bus has; the scenario's own faults stay with the printer model.
struct BusFaults {
    // The bulk OUT endpoint halts once this many bytes have arrived; the host's next write
    // stalls.
    std::optional<std::uint64_t> stallAtByte;
};

// The device side of one printer on a FunctionFS function: the bulk OUT stream goes into the
// simulated printer's job parser, its replies go out on bulk IN, and ep0 answers the vendor
// request with its security record plus the printer class requests. An unplug the scenario asks
// for unbinds the gadget from its UDC. What the printer received is kept in a report file,
// rewritten whenever a job ends, so a script can read it while the gadget still runs.
class PrinterFunction {
  public:
    PrinterFunction(SimPrinter& printer, const UsbIdentity& identity, ConfigfsGadget& gadget,
                    BusFaults faults, std::filesystem::path report);
    ~PrinterFunction();
    PrinterFunction(const PrinterFunction&) = delete;
    PrinterFunction& operator=(const PrinterFunction&) = delete;

    // Hands FunctionFS the descriptors and strings and opens the endpoint files.
    bool Open(std::string& error);

    // Serves the host until `stop` is set or the printer is unplugged; the gadget is unbound
    // when it returns.
    void Serve(const std::atomic<bool>& stop);

  private:
    void ControlLoop(const std::atomic<bool>& stop);
    void AnswerSetup(const usb_ctrlrequest& setup);
    void ReceiveLoop();
    void ReplyLoop();
    void Feed(std::span<const std::uint8_t> bytes);
    void HaltOut();
    void WriteReport();
    bool stopping() const { return stopping_.load(); }

    SimPrinter& printer_;
    const UsbIdentity identity_;
    ConfigfsGadget& gadget_;
    const BusFaults faults_;
    const std::filesystem::path report_;
    int ep0_ = -1;
    int out_ = -1;
    int in_ = -1;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> unplugged_{false};
    bool stalled_ = false;
    std::size_t reportedJobs_ = 0;
    std::mutex mutex_;
    std::condition_variable fed_;
};

}  // namespace fwup::gadget
