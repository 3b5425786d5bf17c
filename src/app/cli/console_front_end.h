#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_options.h"
#include "app/cli/interrupt_state.h"
#include "app/cli/progress_display.h"
#include "device/discovery.h"
#include "upgrade/printer_selection.h"
#include "upgrade/upgrade_front_end.h"

namespace fwup::cli {

// Writes the program's output: plain text, or JSON lines (then nothing else goes to standard
// output). Keeps a redrawn progress line from running into other output.
class ConsoleReport {
  public:
    ConsoleReport(bool json, ProgressStyle progressStyle)
        : json_(json), progressStyle_(progressStyle), progress_(progressStyle) {}

    bool json() const { return json_; }
    // A line of text (text mode only), a JSON line (JSON mode only).
    void Text(const std::wstring& line);
    void Json(const std::string& line);
    // A window text in the user's language, as a line (text mode) or a "message" event.
    void WindowText(int textId);
    void Progress(std::size_t sent, std::size_t total);
    ProgressDisplay& progress() { return progress_; }
    // The next printer's run of --all: its progress counts from nothing again.
    void RestartProgress() { progress_ = ProgressDisplay(progressStyle_); }

  private:
    void EndProgressLine();
    bool json_;
    ProgressStyle progressStyle_;
    ProgressDisplay progress_;
};

// A window text with the window's line ends made the console's.
std::wstring ConsoleText(int textId);

// The console program as the upgrade run's front end: the printer chosen by the options, the
// looks as texts, the question answered by --yes, the terminal or No, and progress.
class ConsoleFrontEnd final : public UpgradeFrontEnd {
  public:
    // `pinned` (for --all) chooses the printer instead of the options: found again by its
    // identity, whatever port it holds by its turn.
    ConsoleFrontEnd(const CliOptions& options, ConsoleReport& report, InterruptState& interrupts,
                    const DeviceEntry* pinned = nullptr)
        : options_(options), report_(report), interrupts_(interrupts), pinned_(pinned) {}

    void OnRunBegins() override {}
    void ReturnToReady() override {}
    void ClearPrinters() override { printers_.clear(); }
    void AddPrinter(int index, const DeviceEntry& entry) override;
    void SelectPrinter(int) override {}
    int SelectedPrinter() override;
    void ShowStatus(int code, int value) override;
    void ShowMessage(int textId) override;
    bool AskYesNo(int textId) override;
    void OnStep(UpgradeStep step) override;
    void OnVersionVerdict(int verdict) override { versionVerdict_ = verdict; }
    void OnLowBattery(int percent) override { lowBatteryPercent_ = percent; }
    void OnPrinterLockRefused(const std::wstring& why) override { lockRefusal_ = why; }
    bool StopRequested() override { return interrupts_.requested.load(); }
    void OnTransferProgress(std::size_t sent, std::size_t length) override;
    void OnPrinterReplaced() override { printerReplaced_ = true; }
    // Held until the command ends: the verification works on the printer after the run.
    void KeepPrinterLock(std::unique_ptr<PrinterLock> lock) override { lock_ = std::move(lock); }

    // After the run.
    const DeviceEntry* Chosen() const;
    // What the run's lines speak of: the printer chosen, or the one an `--all` turn was given
    // when it is no longer there.
    const DeviceEntry* Subject() const { return Chosen() != nullptr ? Chosen() : pinned_; }
    // A --port or --serial choice that matched none of the printers attached.
    bool ChoiceUnmatched() const { return choiceUnmatched_; }
    std::optional<int> VersionVerdict() const { return versionVerdict_; }
    // The charge the run refused to start at.
    std::optional<int> LowBatteryPercent() const { return lowBatteryPercent_; }
    // Why the run refused the printer as in use.
    const std::wstring& LockRefusal() const { return lockRefusal_; }
    // The chosen printer's lock, kept for the verification (null when none was taken).
    const PrinterLock* HeldLock() const { return lock_.get(); }
    bool TransferBegun() const { return transferBegun_; }
    std::size_t BytesSent() const { return bytesSent_; }
    // An open found another printer behind the chosen printer's port name.
    bool PrinterReplaced() const { return printerReplaced_; }
    // The printers attached, for a message naming them.
    std::wstring AttachedList() const;

  private:
    void NoteInterruptDuringTransfer();
    void AnnouncePrinter(const DeviceEntry& entry);
    void NoteFirstOfSeveral(const DeviceEntry& entry);

    const CliOptions& options_;
    ConsoleReport& report_;
    InterruptState& interrupts_;
    const DeviceEntry* pinned_;
    std::vector<DeviceEntry> printers_;
    std::optional<int> chosen_;
    bool choiceUnmatched_ = false;
    bool firstOfSeveralNoted_ = false;
    std::optional<int> versionVerdict_;
    std::optional<int> lowBatteryPercent_;
    std::wstring lockRefusal_;
    bool transferBegun_ = false;
    bool transmittingShown_ = false;
    bool interruptNoted_ = false;
    std::size_t bytesSent_ = 0;
    bool printerReplaced_ = false;
    std::unique_ptr<PrinterLock> lock_;
};

// Whether `entry` is the printer the options choose (always true without a choice).
bool MatchesChoice(const CliOptions& options, const DeviceEntry& entry);

// A port name for a line of text: "(no port)" when there is none, made safe to show.
std::wstring ShownPort(const std::wstring& portName);

// "older", "same", "newer" or "unread" for QueryFwVersion's result.
const char* VersionVerdictName(int verdict);

}  // namespace fwup::cli
