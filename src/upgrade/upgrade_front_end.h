#pragma once

#include <memory>
#include <string>

#include "device/discovery.h"
#include "protocol/firmware_transfer.h"
#include "upgrade/printer_lock.h"

namespace fwup {

// How one upgrade run ended, for front ends that report it beyond what they were shown.
enum class UpgradeOutcome {
    kNotConnected,          // no supported printer, or none chosen
    kPortBusy,              // a print queue on the printer's port holds jobs
    kNotReady,              // the printer's status forbids the upgrade
    kDeclined,              // same version, and the answer was No
    kFirmwareUnrecognized,  // the security record's check value is wrong
    kPrinterLost,           // the printer could not be opened any more once the checks had begun
    kFailed,                // the version query or the transfer failed
    kSucceeded,             // the whole package was written
    kInterrupted,           // the front end asked to stop before the transfer began
    kLowBattery,            // the computer runs on a nearly empty battery; nothing was sent
    kInUse,                 // the printer's lock is held by another run or could not be
                            // taken; nothing was sent
};

// The steps a run reports as it enters them.
enum class UpgradeStep { kCheckPrinter, kCheckVersion, kCheckSecurity, kTransfer, kFlashWait };

// Whoever started the run: the main window, or the console program. The run calls it on its own
// thread. Progress of the transfer arrives through the TransferObserver side.
class UpgradeFrontEnd : public TransferObserver {
  public:
    // The run begins: nothing may end the front end until it has ended (the window locks).
    virtual void OnRunBegins() = 0;
    // A refusal the user can act on was shown; the front end goes back to where a new run may
    // start (the window unlocks).
    virtual void ReturnToReady() = 0;

    // The printer selection: emptied before discovery, then each printer found, in discovery
    // order (entry i at index i), then the first one selected. SelectedPrinter is the index the
    // run works on, -1 for none.
    virtual void ClearPrinters() = 0;
    virtual void AddPrinter(int index, const DeviceEntry& entry) = 0;
    virtual void SelectPrinter(int index) = 0;
    virtual int SelectedPrinter() = 0;

    // A status look (STATUS_* of upgrade/run_status.h) with its value.
    virtual void ShowStatus(int code, int value) = 0;
    // A message with an OK button, text `textId`.
    virtual void ShowMessage(int textId) = 0;
    // The Yes/No question `textId`; false only for No (a dismissed question counts as No).
    virtual bool AskYesNo(int textId) = 0;

    // Front ends that follow the run step by step; the window does not. The version verdict is
    // QueryFwVersion's result.
    virtual void OnStep(UpgradeStep) {}
    virtual void OnVersionVerdict(int) {}
    // The printer's version text as it answered (valid UTF-8), when the version was read.
    virtual void OnVersionText(const std::string&) {}
    // The run refuses to start on battery at this charge (whole percent), before the message.
    virtual void OnLowBattery(int) {}
    // The run refuses the printer as in use (kInUse), for this reason, before the message.
    virtual void OnPrinterLockRefused(const std::wstring&) {}
    // Asked between the steps before the transfer, and every fraction of a second while one of
    // them waits on another process (the system bus): true ends the run there (kInterrupted)
    // without a message. Never asked once the transfer has begun. Asked on the run's thread.
    virtual bool StopRequested() { return false; }

    // The run's last calls, once it has ended. OnPrinterReplaced: an open found another printer
    // behind the chosen printer's port name and was refused (PrinterTarget), whatever step it
    // was. KeepPrinterLock: the chosen printer's lock (null when none was taken); a front end that
    // goes on working on the printer after the run keeps it, otherwise it is released here.
    virtual void OnPrinterReplaced() {}
    virtual void KeepPrinterLock(std::unique_ptr<PrinterLock>) {}

  protected:
    ~UpgradeFrontEnd() = default;
};

}  // namespace fwup
