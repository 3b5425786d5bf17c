#include "upgrade/posix/system_bus.h"

#include <dlfcn.h>
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

namespace fwup {

namespace {

// libsystemd's public types, as far as the calls below need them.
struct sd_bus;
struct sd_bus_message;
struct sd_bus_slot;
struct sd_bus_error {
    const char* name;
    const char* message;
    int needFree;
};

using MessageHandler = int (*)(sd_bus_message*, void*, sd_bus_error*);
using BusOpenSystem = int (*)(sd_bus**);
using BusNewMethodCall = int (*)(sd_bus*, sd_bus_message**, const char*, const char*, const char*,
                                 const char*);
using BusAppendBasic = int (*)(sd_bus_message*, char, const void*);
using BusCallAsync = int (*)(sd_bus*, sd_bus_slot**, sd_bus_message*, MessageHandler, void*,
                             std::uint64_t);
using BusProcess = int (*)(sd_bus*, sd_bus_message**);
using BusWait = int (*)(sd_bus*, std::uint64_t);
using BusMessageRef = sd_bus_message* (*)(sd_bus_message*);
using BusMessageGetError = const sd_bus_error* (*)(sd_bus_message*);
using BusMessageRead = int (*)(sd_bus_message*, const char*, ...);
using BusSlotUnref = sd_bus_slot* (*)(sd_bus_slot*);
using BusClose = void (*)(sd_bus*);
using BusUnref = sd_bus* (*)(sd_bus*);

// A wait on the bus is cut into slices this long, so that a stop is seen within one of them
// whatever the bus does (a signal alone need not wake the wait).
constexpr std::chrono::milliseconds kSlice{100};

// What a service or the library says goes into the log; a long text is cut.
constexpr std::size_t kMaxReasonChars = 200;

std::string Bounded(const char* text) {
    if (text == nullptr) {
        return {};
    }
    return std::string(text, strnlen(text, kMaxReasonChars));
}

std::string ErrnoText(int result) {
    return Bounded(std::strerror(result < 0 ? -result : result));
}

std::string ErrorText(const sd_bus_error& error) {
    if (error.message != nullptr) {
        return Bounded(error.name) + ": " + Bounded(error.message);
    }
    return error.name != nullptr ? Bounded(error.name) : std::string("an error without a name");
}

std::uint64_t Microseconds(std::chrono::steady_clock::duration duration) {
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(duration).count();
    return us > 0 ? static_cast<std::uint64_t>(us) : 0;
}

}  // namespace

struct SystemBus::Library {
    BusOpenSystem openSystem = nullptr;
    BusNewMethodCall newMethodCall = nullptr;
    BusAppendBasic appendBasic = nullptr;
    BusCallAsync callAsync = nullptr;
    BusProcess process = nullptr;
    BusWait wait = nullptr;
    BusMessageRef messageRef = nullptr;
    BusMessageRef messageUnref = nullptr;
    BusMessageGetError messageGetError = nullptr;
    BusMessageRead messageRead = nullptr;
    BusSlotUnref slotUnref = nullptr;
    BusClose close = nullptr;
    BusUnref unref = nullptr;

    bool complete() const {
        return openSystem && newMethodCall && appendBasic && callAsync && process && wait &&
               messageRef && messageUnref && messageGetError && messageRead && slotUnref && close &&
               unref;
    }
};

// One call on its way: the reply lands here when sd-bus hands it over.
struct SystemBus::Pending {
    Library& library;
    sd_bus_message* reply = nullptr;

    static int Arrived(sd_bus_message* message, void* userdata, sd_bus_error*) {
        Pending& pending = *static_cast<Pending*>(userdata);
        if (pending.reply == nullptr) {
            pending.reply = pending.library.messageRef(message);
        }
        return 0;
    }
};

SystemBus::SystemBus(StopCheck stopped)
    : stopped_(std::move(stopped)), deadline_(std::chrono::steady_clock::now() + kBudget) {
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
    find(library_->newMethodCall, "sd_bus_message_new_method_call");
    find(library_->appendBasic, "sd_bus_message_append_basic");
    find(library_->callAsync, "sd_bus_call_async");
    find(library_->process, "sd_bus_process");
    find(library_->wait, "sd_bus_wait");
    find(library_->messageRef, "sd_bus_message_ref");
    find(library_->messageUnref, "sd_bus_message_unref");
    find(library_->messageGetError, "sd_bus_message_get_error");
    find(library_->messageRead, "sd_bus_message_read");
    find(library_->slotUnref, "sd_bus_slot_unref");
    find(library_->close, "sd_bus_close");
    find(library_->unref, "sd_bus_unref");
    if (!library_->complete()) {
        failure_ = "libsystemd.so.0 lacks the sd-bus calls";
        return;
    }
    // Connects without waiting: the authentication goes on while the first call waits.
    sd_bus* bus = nullptr;
    const int opened = library_->openSystem(&bus);
    if (opened < 0 || bus == nullptr) {
        failure_ = "no system bus (" + ErrnoText(opened) + ")";
        return;
    }
    bus_ = bus;
}

SystemBus::~SystemBus() {
    if (bus_ != nullptr) {
        // Not flushed: a flush waits, without a bound, for a bus that may never answer. Nothing
        // is left to send once a call has had its reply.
        library_->close(static_cast<sd_bus*>(bus_));
        library_->unref(static_cast<sd_bus*>(bus_));
    }
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

bool SystemBus::Await(Pending& pending, std::string& error) {
    sd_bus* bus = static_cast<sd_bus*>(bus_);
    for (;;) {
        const int processed = library_->process(bus, nullptr);
        if (pending.reply != nullptr) {
            return true;
        }
        if (processed < 0) {
            error = "system bus: " + ErrnoText(processed);
            failure_ = error;
            return false;
        }
        if (Stopped(stopped_)) {
            error = failure_ = "given up on the system bus: the run is to end";
            return false;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline_) {
            timedOut_ = true;
            error = failure_ =
                "no answer on the system bus within " + std::to_string(kBudget.count()) + " s";
            return false;
        }
        if (processed > 0) {
            continue;  // more may be waiting
        }
        const std::uint64_t slice =
            Microseconds(std::min<std::chrono::steady_clock::duration>(deadline_ - now, kSlice));
        const int waited = library_->wait(bus, slice);
        // A signal cuts a wait short; whether it asks the run to end is the stop check's part.
        if (waited < 0 && waited != -EINTR) {
            error = "system bus: " + ErrnoText(waited);
            failure_ = error;
            return false;
        }
    }
}

void* SystemBus::Call(const char* service, const char* path, const char* interface,
                      const char* method, std::initializer_list<const char*> arguments,
                      std::string& error) {
    if (!failure_.empty()) {
        error = failure_;
        return nullptr;
    }
    if (Stopped(stopped_)) {
        error = "not asked: the run is to end";
        return nullptr;
    }
    sd_bus* bus = static_cast<sd_bus*>(bus_);
    sd_bus_message* call = nullptr;
    int result = library_->newMethodCall(bus, &call, service, path, interface, method);
    for (const char* argument : arguments) {
        if (result >= 0) {
            result = library_->appendBasic(call, 's', argument);
        }
    }
    Pending pending{*library_};
    sd_bus_slot* slot = nullptr;
    if (result >= 0) {
        // sd-bus's own bound on the reply comes after ours, so that a bus that does not answer
        // is always told apart from a service that says it timed out.
        const auto bound = deadline_ - std::chrono::steady_clock::now() + kSlice;
        result = library_->callAsync(bus, &slot, call, &Pending::Arrived, &pending,
                                     std::max<std::uint64_t>(Microseconds(bound), 1));
    }
    if (call != nullptr) {
        library_->messageUnref(call);
    }
    if (result < 0) {
        error = "system bus: " + ErrnoText(result);
        return nullptr;
    }
    const bool answered = Await(pending, error);
    // The slot goes before `pending` does: a reply that comes later finds no handler.
    library_->slotUnref(slot);
    if (!answered) {
        return nullptr;
    }
    if (const sd_bus_error* replied = library_->messageGetError(pending.reply)) {
        error = ErrorText(*replied);
        library_->messageUnref(pending.reply);
        return nullptr;
    }
    return pending.reply;
}

int SystemBus::Inhibit(const char* what, const char* who, const char* why, const char* mode,
                       std::string& error) {
    std::string callError;
    auto* reply = static_cast<sd_bus_message*>(
        Call("org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
             "Inhibit", {what, who, why, mode}, callError));
    if (reply == nullptr) {
        error = "logind: " + callError;
        return -1;
    }
    int held = -1;
    int fd = -1;
    // The descriptor belongs to the reply; a copy outlives it.
    if (library_->messageRead(reply, "h", &fd) >= 0 && fd >= 0) {
        held = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    }
    if (held < 0) {
        error = "logind's reply held no descriptor";
    }
    library_->messageUnref(reply);
    return held;
}

bool SystemBus::GetProperty(const char* service, const char* path, const char* interface,
                            const char* name, char type, void* value) {
    std::string error;
    auto* reply = static_cast<sd_bus_message*>(
        Call(service, path, "org.freedesktop.DBus.Properties", "Get", {interface, name}, error));
    if (reply == nullptr) {
        return false;
    }
    const char contained[2] = {type, '\0'};
    const int read = library_->messageRead(reply, "v", contained, value);
    library_->messageUnref(reply);
    return read >= 0;
}

std::optional<bool> SystemBus::BoolProperty(const char* service, const char* path,
                                            const char* interface, const char* name) {
    int value = 0;  // sd-bus reads a boolean into an int
    if (!GetProperty(service, path, interface, name, 'b', &value)) {
        return std::nullopt;
    }
    return value != 0;
}

std::optional<double> SystemBus::DoubleProperty(const char* service, const char* path,
                                                const char* interface, const char* name) {
    double value = 0.0;
    if (!GetProperty(service, path, interface, name, 'd', &value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace fwup
