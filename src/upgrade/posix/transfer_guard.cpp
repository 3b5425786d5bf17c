// Linux: a logind "block" inhibitor, held as the file descriptor logind hands out and released by
// closing it. Besides sleep, shutdown and idle it names logind's own handling of the lid and the
// power, suspend and hibernate keys: with logind's default LidSwitchIgnoreInhibited=yes a plain
// sleep inhibitor does not stop the suspend that closing the lid starts.
#include <unistd.h>

#include <memory>
#include <string>

#include "base/wide_text.h"
#include "log/tool_log.h"
#include "upgrade/posix/system_bus.h"
#include "upgrade/upgrade_transfer_guard.h"

namespace fwup {

namespace {

constexpr const char* kInhibitWhat =
    "sleep:shutdown:idle:handle-lid-switch:handle-power-key:handle-suspend-key:"
    "handle-hibernate-key";

class LogindTransferGuard final : public TransferGuard {
  public:
    explicit LogindTransferGuard(const StopCheck& stopped) {
        std::string error;
        {
            SystemBus bus(stopped);
            fd_ = bus.Inhibit(kInhibitWhat, "viruzu-fwup", "Printer firmware is being written",
                              "block", error);
        }
        // The run goes on unguarded; support must be able to see that it was. A run that was
        // stopped while asking sends nothing, so there is nothing to say.
        if (fd_ < 0 && !Stopped(stopped)) {
            WriteToolLog(L"Sleep and shutdown could not be held off during the transfer: " +
                         FromUtf8(error));
        }
    }
    ~LogindTransferGuard() override {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    LogindTransferGuard(const LogindTransferGuard&) = delete;
    LogindTransferGuard& operator=(const LogindTransferGuard&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace

std::unique_ptr<TransferGuard> MakeHostTransferGuard(SessionEndHolder*, const StopCheck& stopped) {
    return std::make_unique<LogindTransferGuard>(stopped);
}

}  // namespace fwup
