#include "upgrade/upgrade_procedure.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/clock.h"
#include "base/shown_text.h"
#include "base/wide_text.h"
#include "device/channel.h"
#include "device/printer_target.h"
#include "device/simulated_printers.h"
#include "device/usb_open.h"
#include "log/tool_log.h"
#include "protocol/firmware_resource.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"
#include "text/lang_text.h"
#include "upgrade/burn_step.h"
#include "upgrade/power_state.h"
#include "upgrade/print_queues.h"
#include "upgrade/printer_lock.h"
#include "upgrade/printer_selection.h"
#include "upgrade/run_record.h"
#include "upgrade/run_status.h"
#include "upgrade/stop_check.h"
#include "upgrade/upgrade_transfer_guard.h"

namespace fwup {

namespace {

// The printer flashes what it received before it answers again; the success (or failure) look
// must not come up while it is still busy with a package sent after a full check.
constexpr std::uint32_t kFlashWaitMs = 20000;

// A model name no supported device carries; a printer whose firmware is broken enumerates under
// it, and only one such printer may be attached.
constexpr std::wstring_view kBrokenFirmwareModel = L"Viruzu DEFAULT Printer";

constexpr std::size_t kPortNameBufferChars = 256;

enum class Step {
    kCheckPower,
    kCheckPrinter,
    kCheckVersion,
    kCheckCrc,
    kSendData,
    kSendElf,
    kElfRunning,
    kUpdateSucceed,
    kUpdateFailed,
    kEnd,
};

// Counts what reached the printer on the way to the front end's progress.
class SentCounter final : public TransferObserver {
  public:
    explicit SentCounter(TransferObserver& next) : next_(next) {}
    void OnTransferProgress(std::size_t sent, std::size_t length) override {
        sent_ = sent;
        next_.OnTransferProgress(sent, length);
    }
    std::size_t sent() const { return sent_; }

  private:
    TransferObserver& next_;
    std::size_t sent_ = 0;
};

class UpgradeRun {
  public:
    UpgradeRun(UpgradeFrontEnd& frontEnd, RunRecord* record)
        : frontEnd_(frontEnd), record_(record), counter_(frontEnd) {}

    UpgradeOutcome Run() {
        Step step = Step::kCheckPower;
        while (step != Step::kEnd) {
            step = Do(step);
        }
        FillRecord();
        if (printer_.Replaced()) {
            frontEnd_.OnPrinterReplaced();
        }
        frontEnd_.KeepPrinterLock(std::move(lock_));
        return outcome_;
    }

  private:
    void FillRecord() {
        if (record_ == nullptr) {
            return;
        }
        record_->bytesSent = static_cast<std::int64_t>(counter_.sent());
        if (counter_.sent() > 0) {
            record_->package = bFwEncrypted.load() ? kPackageEncryptedId : kPackagePlainId;
        }
        record_->result = OutcomeWord(outcome_);
    }

    Step Do(Step step) {
        switch (step) {
            case Step::kCheckPower:
                return CheckPower();
            case Step::kCheckPrinter:
                return CheckPrinter();
            case Step::kCheckVersion:
                return CheckVersion();
            case Step::kCheckCrc:
                return CheckCrc();
            case Step::kSendData:
                return SendData();
            case Step::kSendElf:
                return SendElfStep();
            case Step::kElfRunning:
                ToolShowNotice(L"ELF is running...");
                WriteToolLog(L"ELF is running...");
                return Step::kUpdateSucceed;
            case Step::kUpdateSucceed:
                frontEnd_.ShowStatus(STATUS_SUCCEEDED, 100);
                return End(UpgradeOutcome::kSucceeded);
            case Step::kUpdateFailed:
                frontEnd_.ShowStatus(STATUS_FAILED, 0);
                return End(UpgradeOutcome::kFailed);
            case Step::kEnd:
                break;
        }
        return Step::kEnd;
    }

    Step End(UpgradeOutcome outcome) {
        outcome_ = outcome;
        return Step::kEnd;
    }

    // A refusal the user can act on: the front end goes back to Ready for another try.
    Step RefuseWithMessage(int textId, UpgradeOutcome outcome) {
        frontEnd_.ShowMessage(textId);
        frontEnd_.ReturnToReady();
        return End(outcome);
    }

    // Before the transfer the front end may end the run between steps; whatever the step that
    // was interrupted made of its (possibly cut short) printer calls is not shown.
    bool Interrupted() {
        if (!frontEnd_.StopRequested()) {
            return false;
        }
        outcome_ = UpgradeOutcome::kInterrupted;
        return true;
    }

    // What a step that waits on another process (the system bus) asks to give up at once.
    StopCheck StopAsked() {
        return [this] { return frontEnd_.StopRequested(); };
    }

    // Before any printer is looked for: a laptop that dies or suspends halfway through the
    // package is the likeliest way to leave a printer half-written.
    Step CheckPower() {
        const PowerCheck power = CheckPowerBeforeRun(StopAsked());
        if (power.stopped) {
            outcome_ = UpgradeOutcome::kInterrupted;
            return Step::kEnd;
        }
        if (!power.lowBattery) {
            return Step::kCheckPrinter;
        }
        frontEnd_.OnLowBattery(*power.lowBattery);
        return RefuseWithMessage(TXT_LOW_BATTERY, UpgradeOutcome::kLowBattery);
    }

    Step CheckPrinter() {
        frontEnd_.OnStep(UpgradeStep::kCheckPrinter);
        RefreshPrinterList(frontEnd_);
        ToolShowNotice(L"prepare for fw updating...");
        if (Interrupted()) {
            return Step::kEnd;
        }

        const int selection = frontEnd_.SelectedPrinter();
        // The list and the selection are rebuilt together on this thread, but a window that
        // went away answers -1 and a list that failed half-way may be shorter than the box.
        if (selection < 0 || static_cast<std::size_t>(selection) >= theDeviceList.size()) {
            return RefuseWithMessage(TXT_NOT_CONNECTED, UpgradeOutcome::kNotConnected);
        }
        const DeviceEntry& entry = theDeviceList[static_cast<std::size_t>(selection)];
        if (record_ != nullptr) {
            record_->port = ToUtf8(entry.PortName);
            record_->model = ToUtf8(entry.ModelName);
            record_->instanceId = ToUtf8(entry.InstanceId);
        }
        if (entry.ModelName == kBrokenFirmwareModel) {
            WriteToolLog(L"Select an FW broken printer, only one printer permit!");
        }
        // Every later open looks the name up again, and the name may pass to another printer
        // meanwhile (a printer plugged in or pulled ahead of this one, during a question that
        // can stay open for minutes). The status, version and security record read must belong
        // to the printer that is flashed.
        printer_ = PrinterTarget::Pinned(entry.PortName.substr(0, kPortNameBufferChars - 1),
                                         entry.InstanceId, entry.InterfacePath);
        // A second run on the printer (another window, a console program, under any user) would
        // interleave its steps with this one's, and could send a firmware job while the printer
        // flashes the first.
        std::wstring refusal;
        if (!ClaimPrinter(entry, lock_, &refusal)) {
            frontEnd_.OnPrinterLockRefused(refusal);
            return RefuseWithMessage(TXT_PRINTER_IN_USE, UpgradeOutcome::kInUse);
        }

        // The print server may take seconds to answer.
        const bool portOccupied = IsPortOccupied(printer_.portName());
        if (Interrupted()) {
            return Step::kEnd;
        }
        if (portOccupied) {
            return RefuseWithMessage(TXT_PORT_OCCUPIED, UpgradeOutcome::kPortBusy);
        }

        const int status = CheckPrinterStatus(printer_);
        if (Interrupted()) {
            return Step::kEnd;
        }
        if (IsReadyForUpgrade(status)) {
            return Step::kCheckVersion;
        }
        ToolShowNotice(L"Checking printer status failed,Error code:" + std::to_wstring(status) +
                       L"\n");
        frontEnd_.ShowStatus(STATUS_NOT_READY, 0);
        return End(UpgradeOutcome::kNotReady);
    }

    Step CheckVersion() {
        frontEnd_.OnStep(UpgradeStep::kCheckVersion);
        std::string versionText;
        const int verdict = QueryFwVersion(printer_, &versionText);
        if (Interrupted()) {
            return Step::kEnd;
        }
        frontEnd_.OnVersionVerdict(verdict);
        if (VersionWasRead(verdict)) {
            frontEnd_.OnVersionText(ValidUtf8(versionText));
        }
        if (record_ != nullptr) {
            record_->firmware = VersionVerdictWord(verdict);
            if (VersionWasRead(verdict)) {
                record_->versionText = ValidUtf8(versionText);
            }
        }
        switch (verdict) {
            case kVersionHigher:
                return Step::kCheckCrc;
            case kVersionSame:
                // Only an explicit No stops; a dismissed question already comes back as No.
                if (!frontEnd_.AskYesNo(TXT_VERSION_SAME)) {
                    if (Interrupted()) {
                        return Step::kEnd;
                    }
                    frontEnd_.ReturnToReady();
                    return End(UpgradeOutcome::kDeclined);
                }
                return Step::kCheckCrc;
            case kVersionLower:
                return Step::kSendElf;
            default:
                return Step::kUpdateFailed;
        }
    }

    // The security record decides the package. Returns kEnd (after telling the user) when it
    // cannot be used, otherwise kSendData to go on.
    Step CheckSecurity() {
        frontEnd_.OnStep(UpgradeStep::kCheckSecurity);
        const int result = QuerySecurity(printer_);
        if (Interrupted()) {
            return Step::kEnd;
        }
        switch (result) {
            case kSecurityCrcInvalid:
                return RefuseWithMessage(TXT_FW_UNRECOGNIZED,
                                         UpgradeOutcome::kFirmwareUnrecognized);
            case kErrOpenChannel:
                // The printer answered the status and version queries a moment ago, so it has
                // most likely been unplugged or taken by another program.
                return RefuseWithMessage(TXT_NOT_CONNECTED, UpgradeOutcome::kPrinterLost);
            default:
                return Step::kSendData;
        }
    }

    Step CheckCrc() { return CheckSecurity(); }

    // Sleep or a session end in the middle of the package leaves the printer half-written; held
    // from here until the run has ended, through the wait for flashing. Taking it may wait on
    // another process, and an interrupt meanwhile must still end the run with nothing sent:
    // false then.
    bool HoldForTransferUnlessInterrupted() {
        if (Interrupted()) {
            return false;
        }
        if (!guard_) {
            guard_ = HoldForTransfer(StopAsked());
        }
        if (Interrupted()) {
            guard_.reset();
            return false;
        }
        return true;
    }

    // The last step before the first firmware byte; no interrupt is asked about after it.
    int Burn() {
        frontEnd_.OnStep(UpgradeStep::kTransfer);
        return BurnFW(printer_, &counter_);
    }

    Step SendData() {
        if (!HoldForTransferUnlessInterrupted()) {
            return Step::kEnd;
        }
        const int result = Burn();
        frontEnd_.OnStep(UpgradeStep::kFlashWait);
        ActiveClock().SleepMs(kFlashWaitMs);
        return result == kResultOk ? Step::kElfRunning : Step::kUpdateFailed;
    }

    Step SendElfStep() {
        if (CheckSecurity() == Step::kEnd || !HoldForTransferUnlessInterrupted()) {
            return Step::kEnd;
        }
        return Burn() == kResultOk ? Step::kElfRunning : Step::kUpdateFailed;
    }

    UpgradeFrontEnd& frontEnd_;
    RunRecord* record_;
    SentCounter counter_;
    // For the whole run, from the choice of the printer; empty before it.
    PrinterTarget printer_{std::wstring_view()};
    std::unique_ptr<PrinterLock> lock_;
    UpgradeOutcome outcome_ = UpgradeOutcome::kFailed;
    std::unique_ptr<TransferGuard> guard_;  // from the transfer's start to the run's end
};

}  // namespace

int CheckPrinterStatus(const PrinterTarget& printer) {
    UsbChannel channel = OpenUSBDevice(printer);
    if (!channel) {
        return kPrinterStatusUnknown;
    }
    std::int8_t status = 0;
    const int result = GetPrinterStatus(channel.get(), status) == kResultOk
                           ? static_cast<int>(status)
                           : kPrinterStatusUnknown;
    CloseUSBDevice(channel);
    return result;
}

bool IsReadyForUpgrade(int status) {
    return status == 0 || status == 2 || status == 4;
}

UpgradeOutcome RunUpgrade(UpgradeFrontEnd& frontEnd, RunRecord* record) {
    // First, so that no reader of the log takes what follows for a real printer's run.
    if (const std::optional<std::wstring> scenario = SimulatedPrintersScenario()) {
        WriteToolLog(L"Simulated printers from " + ShownText(*scenario));
    }
    frontEnd.OnRunBegins();
    bUpgrading.store(true);
    const UpgradeOutcome outcome = UpgradeRun(frontEnd, record).Run();
    bUpgrading.store(false);
    return outcome;
}

}  // namespace fwup
