#pragma once

#include <chrono>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "upgrade/stop_check.h"

namespace fwup {

// One connection to the system bus (DBUS_SYSTEM_BUS_ADDRESS when set) through libsystemd's
// sd-bus, which is loaded at run time: the program still runs on a system without it or without
// a bus, and every call then fails with a reason. Connecting, authenticating and every call
// share one time bound of a few seconds, and a wait gives up within a fraction of a second once
// `stopped` says so: a bus that accepts and never answers, or a service that hangs, cannot hold
// up a run, nor keep an interrupt waiting. Once a wait has given up, every later call fails at
// once. Use on one thread.
class SystemBus {
  public:
    // The time bound of one connection, from its making to its last call.
    static constexpr std::chrono::seconds kBudget{5};

    explicit SystemBus(StopCheck stopped = {});
    ~SystemBus();
    SystemBus(const SystemBus&) = delete;
    SystemBus& operator=(const SystemBus&) = delete;

    // Why the bus cannot be used (any more), empty when it can.
    const std::string& Failure() const { return failure_; }
    // The bus did not answer within kBudget; Failure() says so.
    bool TimedOut() const { return timedOut_; }

    // logind's Inhibit: a descriptor of the caller's own (close-on-exec) that holds the
    // inhibitor until it is closed, or -1 with `error` saying why.
    int Inhibit(const char* what, const char* who, const char* why, const char* mode,
                std::string& error);

    // A property of a basic type, or none when it cannot be read.
    std::optional<bool> BoolProperty(const char* service, const char* path, const char* interface,
                                     const char* name);
    std::optional<double> DoubleProperty(const char* service, const char* path,
                                         const char* interface, const char* name);

  private:
    struct Library;
    struct Pending;
    // Sends a call with string arguments and waits for its reply: the reply (the caller's
    // reference, to be given back with the library's unref) or null with `error` saying why.
    void* Call(const char* service, const char* path, const char* interface, const char* method,
               std::initializer_list<const char*> arguments, std::string& error);
    bool Await(Pending& pending, std::string& error);
    bool GetProperty(const char* service, const char* path, const char* interface, const char* name,
                     char type, void* value);

    void* handle_ = nullptr;
    std::unique_ptr<Library> library_;
    void* bus_ = nullptr;
    StopCheck stopped_;
    std::chrono::steady_clock::time_point deadline_;
    std::string failure_;
    bool timedOut_ = false;
};

}  // namespace fwup
