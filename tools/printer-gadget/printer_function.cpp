#include "printer_function.h"

#include <endian.h>
#include <fcntl.h>
#include <linux/usb/ch9.h>
#include <linux/usb/functionfs.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "ffs_descriptors.h"

namespace fwup::gadget {
namespace {

// One read of the OUT endpoint. The kernel takes it in one allocation, so it stays moderate.
constexpr std::size_t kReceiveChunk = 64 * 1024;
constexpr std::size_t kReplyChunk = 4096;

constexpr std::uint8_t kGetDeviceId = 0;
constexpr std::uint8_t kGetPortStatus = 1;
constexpr std::uint8_t kSoftReset = 2;
// Paper present, selected, no error.
constexpr std::uint8_t kPortStatusReady = 0x18;

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    return ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

const char* KindName(JobKind kind) {
    switch (kind) {
        case JobKind::kStatus:
            return "status";
        case JobKind::kVersion:
            return "version";
        case JobKind::kFirmware:
            return "firmware";
        case JobKind::kMalformed:
            break;
    }
    return "malformed";
}

}  // namespace

PrinterFunction::PrinterFunction(SimPrinter& printer, const UsbIdentity& identity,
                                 ConfigfsGadget& gadget, BusFaults faults,
                                 std::filesystem::path report)
    : printer_(printer),
      identity_(identity),
      gadget_(gadget),
      faults_(faults),
      report_(std::move(report)) {}

PrinterFunction::~PrinterFunction() {
    for (const int fd : {in_, out_, ep0_}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool PrinterFunction::Open(std::string& error) {
    const std::filesystem::path dir = gadget_.functionFsDir();
    ep0_ = ::open((dir / "ep0").c_str(), O_RDWR);
    if (ep0_ < 0) {
        error = "cannot open " + (dir / "ep0").string() + ": " + std::strerror(errno);
        return false;
    }
    if (!WriteAll(ep0_, PrinterFunctionDescriptors()) ||
        !WriteAll(ep0_, PrinterFunctionStrings())) {
        error = std::string("FunctionFS refused the descriptors: ") + std::strerror(errno);
        return false;
    }
    out_ = ::open((dir / "ep1").c_str(), O_RDWR);
    in_ = ::open((dir / "ep2").c_str(), O_RDWR);
    if (out_ < 0 || in_ < 0) {
        error = "cannot open the endpoint files: " + std::string(std::strerror(errno));
        return false;
    }
    WriteReport();
    return true;
}

void PrinterFunction::Serve(const std::atomic<bool>& stop) {
    std::thread receiver([this] { ReceiveLoop(); });
    std::thread replier([this] { ReplyLoop(); });
    ControlLoop(stop);
    stopping_ = true;
    // Blocked endpoint I/O ends with an error once the function is gone from the bus.
    gadget_.Unbind();
    fed_.notify_all();
    receiver.join();
    replier.join();
    WriteReport();
}

void PrinterFunction::ControlLoop(const std::atomic<bool>& stop) {
    std::array<usb_functionfs_event, 4> events{};
    while (!stop && !stopping()) {
        pollfd ready{ep0_, POLLIN, 0};
        if (::poll(&ready, 1, 200) <= 0) {
            continue;
        }
        const ssize_t got = ::read(ep0_, events.data(), sizeof events);
        if (got < 0) {
            if (errno != EINTR && errno != EAGAIN) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            continue;
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(got) / sizeof events[0]; ++i) {
            if (events[i].type == FUNCTIONFS_SETUP) {
                AnswerSetup(events[i].u.setup);
            }
        }
    }
}

void PrinterFunction::AnswerSetup(const usb_ctrlrequest& setup) {
    const bool toHost = (setup.bRequestType & USB_DIR_IN) != 0;
    const std::uint8_t type = setup.bRequestType & USB_TYPE_MASK;
    const std::uint16_t value = le16toh(setup.wValue);
    const std::size_t length = le16toh(setup.wLength);
    std::vector<std::uint8_t> reply;
    bool answered = false;
    if (type == USB_TYPE_VENDOR && toHost) {
        const std::array<std::uint8_t, 3> input = {setup.bRequest,
                                                   static_cast<std::uint8_t>(value >> 8),
                                                   static_cast<std::uint8_t>(value & 0xFF)};
        reply.resize(length);
        const VendorReply vendor = printer_.VendorRequest(input, reply);
        answered = vendor.succeeded;
        reply.resize(vendor.returned);
    } else if (type == USB_TYPE_CLASS && toHost && setup.bRequest == kGetDeviceId) {
        const std::string id = Ieee1284DeviceId(identity_);
        reply.assign(id.begin(), id.end());
        answered = true;
    } else if (type == USB_TYPE_CLASS && toHost && setup.bRequest == kGetPortStatus) {
        reply = {kPortStatusReady};
        answered = true;
    } else if (type == USB_TYPE_CLASS && !toHost && setup.bRequest == kSoftReset) {
        answered = true;
    }
    if (reply.size() > length) {
        reply.resize(length);
    }
    // FunctionFS stalls ep0 when the program moves data against the request's direction.
    if (toHost) {
        if (answered) {
            WriteAll(ep0_, reply);
        } else {
            [[maybe_unused]] const ssize_t ignored = ::read(ep0_, nullptr, 0);
        }
    } else if (answered) {
        std::vector<std::uint8_t> data(length);
        [[maybe_unused]] const ssize_t ignored = ::read(ep0_, data.data(), data.size());
    } else {
        [[maybe_unused]] const ssize_t ignored = ::write(ep0_, nullptr, 0);
    }
}

void PrinterFunction::ReceiveLoop() {
    std::vector<std::uint8_t> chunk(kReceiveChunk);
    while (!stopping()) {
        const ssize_t got = ::read(out_, chunk.data(), chunk.size());
        if (got < 0) {
            // The endpoint is disabled while the host resets or reconfigures the device.
            if (!stopping()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            continue;
        }
        std::span<const std::uint8_t> bytes(chunk.data(), static_cast<std::size_t>(got));
        const std::uint64_t received = printer_.BytesReceived();
        if (faults_.stallAtByte && !stalled_ && received + bytes.size() > *faults_.stallAtByte) {
            Feed(bytes.first(static_cast<std::size_t>(*faults_.stallAtByte - received)));
            HaltOut();
            WriteReport();
            continue;
        }
        Feed(bytes);
    }
}

void PrinterFunction::Feed(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const long taken = printer_.Write(bytes);
        if (taken < 0) {
            if (!printer_.present()) {
                unplugged_ = true;
                stopping_ = true;
                gadget_.Unbind();
            } else {
                HaltOut();
            }
            break;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(taken));
    }
    {
        // Taken so the reply thread is either before its check or already waiting.
        std::lock_guard<std::mutex> lock(mutex_);
    }
    fed_.notify_all();
    if (printer_.Jobs().size() != reportedJobs_ || unplugged_) {
        WriteReport();
    }
}

// A write against the endpoint's direction makes FunctionFS halt it.
void PrinterFunction::HaltOut() {
    stalled_ = true;
    [[maybe_unused]] const ssize_t ignored = ::write(out_, nullptr, 0);
}

void PrinterFunction::ReplyLoop() {
    std::array<std::uint8_t, kReplyChunk> piece{};
    while (!stopping()) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            fed_.wait_for(lock, std::chrono::milliseconds(100),
                          [this] { return stopping() || printer_.PendingReplyBytes() > 0; });
        }
        if (stopping() || printer_.PendingReplyBytes() == 0) {
            continue;
        }
        const long count = printer_.Read(piece);
        if (count > 0) {
            WriteAll(in_,
                     std::span<const std::uint8_t>(piece.data(), static_cast<std::size_t>(count)));
        }
    }
}

void PrinterFunction::WriteReport() {
    const std::vector<ReceivedJob> jobs = printer_.Jobs();
    reportedJobs_ = jobs.size();
    const std::filesystem::path partial = report_.string() + ".partial";
    std::FILE* out = std::fopen(partial.c_str(), "w");
    if (!out) {
        return;
    }
    std::fprintf(out, "received %" PRIu64 "\nunplugged %d\nstalled %d\n", printer_.BytesReceived(),
                 unplugged_ ? 1 : 0, stalled_ ? 1 : 0);
    for (const ReceivedJob& job : jobs) {
        std::fprintf(out, "job %s %" PRIu64 " %016" PRIx64 "\n", KindName(job.kind), job.byteCount,
                     job.digest);
    }
    std::fclose(out);
    std::rename(partial.c_str(), report_.c_str());
}

}  // namespace fwup::gadget
