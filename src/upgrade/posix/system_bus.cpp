#include "upgrade/posix/system_bus.h"

#include <dlfcn.h>
#include <fcntl.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

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
using BusSetTimeout = int (*)(sd_bus*, std::uint64_t);
using BusCallMethod = int (*)(sd_bus*, const char*, const char*, const char*, const char*,
                              sd_bus_error*, sd_bus_message**, const char*, ...);
using BusGetPropertyTrivial = int (*)(sd_bus*, const char*, const char*, const char*, const char*,
                                      sd_bus_error*, char, void*);
using BusMessageRead = int (*)(sd_bus_message*, const char*, ...);
using BusMessageUnref = sd_bus_message* (*)(sd_bus_message*);
using BusErrorFree = void (*)(sd_bus_error*);
using BusFlushCloseUnref = sd_bus* (*)(sd_bus*);

// A reply that waits longer than this is taken as no reply.
constexpr std::uint64_t kCallTimeoutUs = 5'000'000;

// What a service or the library says goes into the log; a long text is cut.
constexpr std::size_t kMaxReasonChars = 200;

std::string Bounded(const char* text) {
    if (text == nullptr) {
        return {};
    }
    return std::string(text, strnlen(text, kMaxReasonChars));
}

std::string ErrorText(const sd_bus_error& error, int result) {
    if (error.message != nullptr) {
        return Bounded(error.name) + ": " + Bounded(error.message);
    }
    if (error.name != nullptr) {
        return Bounded(error.name);
    }
    return Bounded(std::strerror(result < 0 ? -result : result));
}

}  // namespace

struct SystemBus::Library {
    BusOpenSystem openSystem = nullptr;
    BusSetTimeout setTimeout = nullptr;  // since systemd 240; optional
    BusCallMethod callMethod = nullptr;
    BusGetPropertyTrivial getPropertyTrivial = nullptr;
    BusMessageRead messageRead = nullptr;
    BusMessageUnref messageUnref = nullptr;
    BusErrorFree errorFree = nullptr;
    BusFlushCloseUnref flushCloseUnref = nullptr;

    bool complete() const {
        return openSystem && callMethod && getPropertyTrivial && messageRead && messageUnref &&
               errorFree && flushCloseUnref;
    }
};

SystemBus::SystemBus() {
    handle_ = dlopen("libsystemd.so.0", RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        failure_ = "libsystemd.so.0 could not be loaded";
        return;
    }
    library_ = std::make_unique<Library>();
    const auto find = [this](auto& function, const char* name) {
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle_, name));
    };
    find(library_->openSystem, "sd_bus_open_system");
    find(library_->setTimeout, "sd_bus_set_method_call_timeout");
    find(library_->callMethod, "sd_bus_call_method");
    find(library_->getPropertyTrivial, "sd_bus_get_property_trivial");
    find(library_->messageRead, "sd_bus_message_read");
    find(library_->messageUnref, "sd_bus_message_unref");
    find(library_->errorFree, "sd_bus_error_free");
    find(library_->flushCloseUnref, "sd_bus_flush_close_unref");
    if (!library_->complete()) {
        failure_ = "libsystemd.so.0 lacks the sd-bus calls";
        return;
    }
    sd_bus* bus = nullptr;
    const int opened = library_->openSystem(&bus);
    if (opened < 0 || bus == nullptr) {
        failure_ = "no system bus (" + Bounded(std::strerror(-opened)) + ")";
        return;
    }
    bus_ = bus;
    if (library_->setTimeout != nullptr) {
        library_->setTimeout(bus, kCallTimeoutUs);
    }
}

SystemBus::~SystemBus() {
    if (bus_ != nullptr) {
        library_->flushCloseUnref(static_cast<sd_bus*>(bus_));
    }
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

int SystemBus::Inhibit(const char* what, const char* who, const char* why, const char* mode,
                       std::string& error) {
    if (!failure_.empty()) {
        error = failure_;
        return -1;
    }
    sd_bus_error callError{nullptr, nullptr, 0};
    sd_bus_message* reply = nullptr;
    int held = -1;
    const int called =
        library_->callMethod(static_cast<sd_bus*>(bus_), "org.freedesktop.login1",
                             "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "Inhibit",
                             &callError, &reply, "ssss", what, who, why, mode);
    if (called < 0) {
        error = "logind: " + ErrorText(callError, called);
    } else {
        int fd = -1;
        // The descriptor belongs to the reply; a copy outlives it.
        if (library_->messageRead(reply, "h", &fd) >= 0 && fd >= 0) {
            held = fcntl(fd, F_DUPFD_CLOEXEC, 3);
        }
        if (held < 0) {
            error = "logind's reply held no descriptor";
        }
    }
    if (reply != nullptr) {
        library_->messageUnref(reply);
    }
    library_->errorFree(&callError);
    return held;
}

bool SystemBus::GetTrivial(const char* service, const char* path, const char* interface,
                           const char* name, char type, void* value) {
    if (!failure_.empty()) {
        return false;
    }
    sd_bus_error callError{nullptr, nullptr, 0};
    const int result = library_->getPropertyTrivial(static_cast<sd_bus*>(bus_), service, path,
                                                    interface, name, &callError, type, value);
    library_->errorFree(&callError);
    return result >= 0;
}

std::optional<bool> SystemBus::BoolProperty(const char* service, const char* path,
                                            const char* interface, const char* name) {
    int value = 0;  // sd-bus reads a boolean into an int
    if (!GetTrivial(service, path, interface, name, 'b', &value)) {
        return std::nullopt;
    }
    return value != 0;
}

std::optional<double> SystemBus::DoubleProperty(const char* service, const char* path,
                                                const char* interface, const char* name) {
    double value = 0.0;
    if (!GetTrivial(service, path, interface, name, 'd', &value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace fwup
