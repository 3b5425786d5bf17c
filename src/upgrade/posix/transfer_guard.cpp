// Linux: a logind "block" inhibitor for sleep and shutdown, held as the file descriptor logind
// hands out and released by closing it. libsystemd is loaded at run time, so that the program
// still runs (unguarded) on a system without it or without a system bus.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>

#include "upgrade/upgrade_transfer_guard.h"

namespace fwup {

namespace {

// libsystemd's public types, as far as the calls below need them.
struct sd_bus;
struct sd_bus_message;
struct sd_bus_error {
    const char* name;
    const char* message;
    int needFree;
};

using BusOpenSystem = int (*)(sd_bus**);
using BusCallMethod = int (*)(sd_bus*, const char*, const char*, const char*, const char*,
                              sd_bus_error*, sd_bus_message**, const char*, ...);
using BusMessageRead = int (*)(sd_bus_message*, const char*, ...);
using BusMessageUnref = sd_bus_message* (*)(sd_bus_message*);
using BusErrorFree = void (*)(sd_bus_error*);
using BusFlushCloseUnref = sd_bus* (*)(sd_bus*);

class LibSystemd {
  public:
    LibSystemd() : handle_(dlopen("libsystemd.so.0", RTLD_NOW | RTLD_LOCAL)) {
        if (handle_ == nullptr) {
            return;
        }
        openSystem = Find<BusOpenSystem>("sd_bus_open_system");
        callMethod = Find<BusCallMethod>("sd_bus_call_method");
        messageRead = Find<BusMessageRead>("sd_bus_message_read");
        messageUnref = Find<BusMessageUnref>("sd_bus_message_unref");
        errorFree = Find<BusErrorFree>("sd_bus_error_free");
        flushCloseUnref = Find<BusFlushCloseUnref>("sd_bus_flush_close_unref");
    }
    ~LibSystemd() {
        if (handle_ != nullptr) {
            dlclose(handle_);
        }
    }
    LibSystemd(const LibSystemd&) = delete;
    LibSystemd& operator=(const LibSystemd&) = delete;

    bool complete() const {
        return openSystem && callMethod && messageRead && messageUnref && errorFree &&
               flushCloseUnref;
    }

    BusOpenSystem openSystem = nullptr;
    BusCallMethod callMethod = nullptr;
    BusMessageRead messageRead = nullptr;
    BusMessageUnref messageUnref = nullptr;
    BusErrorFree errorFree = nullptr;
    BusFlushCloseUnref flushCloseUnref = nullptr;

  private:
    template <typename Function>
    Function Find(const char* name) {
        return reinterpret_cast<Function>(dlsym(handle_, name));
    }

    void* handle_;
};

// The inhibitor's descriptor, or -1 when logind could not be asked or refused.
int TakeInhibitor() {
    const LibSystemd systemd;
    if (!systemd.complete()) {
        return -1;
    }
    sd_bus* bus = nullptr;
    if (systemd.openSystem(&bus) < 0 || bus == nullptr) {
        return -1;
    }
    sd_bus_error error{nullptr, nullptr, 0};
    sd_bus_message* reply = nullptr;
    int held = -1;
    if (systemd.callMethod(bus, "org.freedesktop.login1", "/org/freedesktop/login1",
                           "org.freedesktop.login1.Manager", "Inhibit", &error, &reply, "ssss",
                           "sleep:shutdown:idle", "viruzu-fwup",
                           "Printer firmware is being written", "block") >= 0) {
        int fd = -1;
        // The descriptor belongs to the reply; a copy outlives it.
        if (systemd.messageRead(reply, "h", &fd) >= 0 && fd >= 0) {
            held = fcntl(fd, F_DUPFD_CLOEXEC, 3);
        }
    }
    if (reply != nullptr) {
        systemd.messageUnref(reply);
    }
    systemd.errorFree(&error);
    systemd.flushCloseUnref(bus);
    return held;
}

class LogindTransferGuard final : public TransferGuard {
  public:
    LogindTransferGuard() : fd_(TakeInhibitor()) {}
    ~LogindTransferGuard() override {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    LogindTransferGuard(const LogindTransferGuard&) = delete;
    LogindTransferGuard& operator=(const LogindTransferGuard&) = delete;

  private:
    int fd_;
};

}  // namespace

std::unique_ptr<TransferGuard> MakeHostTransferGuard(DialogSurface*) {
    return std::make_unique<LogindTransferGuard>();
}

}  // namespace fwup
