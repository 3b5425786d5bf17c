#pragma once

#include <memory>
#include <optional>
#include <string>

namespace fwup {

// One connection to the system bus (DBUS_SYSTEM_BUS_ADDRESS when set) through libsystemd's
// sd-bus, which is loaded at run time: the program still runs on a system without it or without
// a bus, and every call then fails with a reason. Each call waits at most a few seconds, so a
// service that hangs cannot hold up a run. Use on one thread.
class SystemBus {
  public:
    SystemBus();
    ~SystemBus();
    SystemBus(const SystemBus&) = delete;
    SystemBus& operator=(const SystemBus&) = delete;

    // Why the bus cannot be used, empty when it can.
    const std::string& Failure() const { return failure_; }

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
    bool GetTrivial(const char* service, const char* path, const char* interface, const char* name,
                    char type, void* value);

    void* handle_ = nullptr;
    std::unique_ptr<Library> library_;
    void* bus_ = nullptr;
    std::string failure_;
};

}  // namespace fwup
