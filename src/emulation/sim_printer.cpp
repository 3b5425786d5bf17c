#include "emulation/sim_printer.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "base/clock.h"
#include "base/shown_text.h"
#include "base/wide_text.h"
#include "emulation/printer_state_file.h"
#include "emulation/security_record.h"
#include "emulation/sim_replies.h"
#include "log/tool_log.h"

namespace fwup {
namespace {

std::uint32_t LinkMs(std::uint64_t bytes, std::uint64_t bytesPerSecond) {
    const std::uint64_t ms = (bytes * 1000 + bytesPerSecond - 1) / bytesPerSecond;
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(ms, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace

SimPrinter::SimPrinter(PrinterScenario scenario, std::optional<std::filesystem::path> stateFile)
    : scenario_(std::move(scenario)),
      stateFile_(std::move(stateFile)),
      securityRecord_(BuildSecurityRecord(scenario_.security, scenario_.faults.badCrc)),
      pluggedIn_(!scenario_.appears.set()),
      version_(scenario_.version) {}

bool SimPrinter::present() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pluggedIn_ && !unplugged_ && !AwayLocked();
}

bool SimPrinter::AwayLocked() const {
    return awayUntilMs_ && ActiveClock().MonotonicMs() < *awayUntilMs_;
}

void SimPrinter::TakeFirmwareLocked() {
    const std::optional<AfterFirmware>& after = scenario_.afterFirmware;
    if (after) {
        awayUntilMs_ = ActiveClock().MonotonicMs() + std::int64_t{after->awaySeconds} * 1000;
        if (after->version) {
            version_ = *after->version;
        }
    }
    if (!stateFile_) {
        return;
    }
    if (!after) {
        version_ = PackageVersionText();
    }
    std::string error;
    if (!RecordPrinterVersion(*stateFile_, scenario_.interfacePath, version_, error)) {
        // The run itself went as the scenario says; only the next run would be misled.
        WriteToolLog(L"The simulated printer's new version was not kept: " +
                     ShownText(FromUtf8(error)));
    }
}

bool SimPrinter::TryOpen() {
    std::lock_guard<std::mutex> lock(mutex_);
    const bool refused = !pluggedIn_ || unplugged_ || AwayLocked() || channelOpen_ ||
                         (scenario_.openLimit && opens_ >= *scenario_.openLimit);
    SimEvent event;
    event.kind = refused ? SimEventKind::kOpenRefused : SimEventKind::kOpen;
    transcript_.Add(event);
    if (refused) {
        return false;
    }
    ++opens_;
    channelOpen_ = true;
    return true;
}

void SimPrinter::CloseChannel() {
    std::lock_guard<std::mutex> lock(mutex_);
    channelOpen_ = false;
    SimEvent event;
    event.kind = SimEventKind::kClose;
    transcript_.Add(event);
}

long SimPrinter::Write(std::span<const std::uint8_t> bytes) {
    std::uint32_t sleepMs = 0;
    long written = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        written = WriteLocked(bytes, sleepMs);
    }
    if (sleepMs > 0) {
        ActiveClock().SleepMs(sleepMs);
    }
    return written;
}

long SimPrinter::WriteLocked(std::span<const std::uint8_t> bytes, std::uint32_t& sleepMs) {
    const SimFaults& faults = scenario_.faults;
    if (unplugged_ || failedWrites_ < faults.failWrites) {
        if (!unplugged_) {
            ++failedWrites_;
        }
        RecordTransfer(SimEventKind::kWrite, bytes.size(), -1);
        return -1;
    }
    // A count must fit the long the channel reports it in (32 bits on Windows).
    constexpr std::size_t kMaxCount = static_cast<std::size_t>(std::numeric_limits<long>::max());
    std::size_t accepted =
        std::min({bytes.size(), faults.maxWriteBytes.value_or(kMaxCount), kMaxCount});
    if (faults.zeroWriteAtByte && !zeroWriteDone_ && received_ <= *faults.zeroWriteAtByte &&
        *faults.zeroWriteAtByte < received_ + accepted) {
        zeroWriteDone_ = true;
        RecordTransfer(SimEventKind::kWrite, bytes.size(), 0);
        return 0;
    }
    // Bytes up to the unplug offset reach the printer; the write that crosses it then fails.
    const bool unplug = faults.unplugAtByte && received_ + accepted > *faults.unplugAtByte;
    if (unplug) {
        accepted = static_cast<std::size_t>(*faults.unplugAtByte - received_);
    }
    RecordTransfer(SimEventKind::kWrite, bytes.size(), unplug ? -1 : static_cast<long>(accepted));
    Accept(bytes.first(accepted));
    if (unplug) {
        UnplugLocked();
        return -1;
    }
    if (faults.linkBytesPerSecond) {
        sleepMs = LinkMs(accepted, *faults.linkBytesPerSecond);
    }
    return static_cast<long>(accepted);
}

long SimPrinter::Read(std::span<std::uint8_t> buffer) {
    std::uint32_t sleepMs = 0;
    long read = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        read = ReadLocked(buffer, sleepMs);
    }
    if (sleepMs > 0) {
        ActiveClock().SleepMs(sleepMs);
    }
    return read;
}

long SimPrinter::ReadLocked(std::span<std::uint8_t> buffer, std::uint32_t& sleepMs) {
    const SimFaults& faults = scenario_.faults;
    if (unplugged_ || failedReads_ < faults.failReads) {
        if (!unplugged_) {
            ++failedReads_;
        }
        RecordTransfer(SimEventKind::kRead, buffer.size(), -1);
        return -1;
    }
    bool silent = replies_.empty();
    if (!silent && faults.silentReadSeconds > 0) {
        PendingReply& reply = replies_.front();
        const std::int64_t now = ActiveClock().NowSeconds();
        if (!reply.firstReadSecond) {
            reply.firstReadSecond = now;
        }
        silent = now - *reply.firstReadSecond < faults.silentReadSeconds;
    }
    if (silent) {
        // The driver waits out its time-out before it reports that nothing came.
        sleepMs = scenario_.readTimeoutMs;
        RecordTransfer(SimEventKind::kRead, buffer.size(), 0);
        return 0;
    }
    PendingReply& reply = replies_.front();
    std::size_t count = std::min(buffer.size(), reply.bytes.size() - reply.delivered);
    count = std::min(count, faults.replyPieceBytes.value_or(count));
    std::copy_n(reply.bytes.begin() + static_cast<std::ptrdiff_t>(reply.delivered), count,
                buffer.begin());
    reply.delivered += count;
    pendingReplyBytes_ -= count;
    if (reply.delivered == reply.bytes.size()) {
        replies_.pop_front();
    }
    RecordTransfer(SimEventKind::kRead, buffer.size(), static_cast<long>(count));
    return static_cast<long>(count);
}

VendorReply SimPrinter::VendorRequest(std::span<const std::uint8_t, 3> input,
                                      std::span<std::uint8_t> output) {
    std::lock_guard<std::mutex> lock(mutex_);
    const VendorReply reply = VendorLocked(input, output);
    SimEvent event;
    event.kind = SimEventKind::kVendor;
    event.requested = output.size();
    event.result = static_cast<long>(reply.returned);
    std::copy(input.begin(), input.end(), event.vendorInput.begin());
    event.vendorReply = reply;
    transcript_.Add(event);
    return reply;
}

VendorReply SimPrinter::VendorLocked(std::span<const std::uint8_t, 3> input,
                                     std::span<std::uint8_t> output) {
    const SimFaults& faults = scenario_.faults;
    // A request the printer does not know is stalled, which the driver reports as a failure.
    if (unplugged_ || !std::equal(input.begin(), input.end(), kSecurityRequest.begin())) {
        return VendorReply{false, 0, kErrorGenFailure};
    }
    if (faults.vendorError && !vendorErrorDone_) {
        vendorErrorDone_ = true;
        return VendorReply{false, 0, *faults.vendorError};
    }
    if (faults.vendorReturnsNothing) {
        return VendorReply{true, 0, kErrorSuccess};
    }
    const std::size_t count = std::min(output.size(), securityRecord_.size());
    std::copy_n(securityRecord_.begin(), count, output.begin());
    return VendorReply{true, count, kErrorSuccess};
}

void SimPrinter::Unplug() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!unplugged_) {
        UnplugLocked();
    }
}

void SimPrinter::PlugIn() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!pluggedIn_) {
        pluggedIn_ = true;
        SimEvent event;
        event.kind = SimEventKind::kPlugIn;
        transcript_.Add(event);
    }
}

void SimPrinter::Accept(std::span<const std::uint8_t> bytes) {
    received_ += bytes.size();
    std::vector<ReceivedJob> ended;
    parser_.Feed(bytes, ended);
    for (const ReceivedJob& job : ended) {
        transcript_.AddJob(job);
        if (job.kind == JobKind::kStatus) {
            QueueReply(BuildStatusReply(scenario_));
        } else if (job.kind == JobKind::kVersion) {
            if (version_ == scenario_.version) {
                QueueReply(BuildVersionReply(scenario_));
            } else {
                PrinterScenario flashed = scenario_;
                flashed.version = version_;
                QueueReply(BuildVersionReply(flashed));
            }
        } else if (job.kind == JobKind::kFirmware) {
            TakeFirmwareLocked();
        }
    }
}

void SimPrinter::QueueReply(std::vector<std::uint8_t> reply) {
    if (pendingReplyBytes_ + reply.size() > kMaxPendingReplyBytes) {
        ++droppedReplies_;
        return;
    }
    pendingReplyBytes_ += reply.size();
    replies_.push_back(PendingReply{std::move(reply), 0, std::nullopt});
}

void SimPrinter::UnplugLocked() {
    unplugged_ = true;
    replies_.clear();
    pendingReplyBytes_ = 0;
    SimEvent event;
    event.kind = SimEventKind::kUnplug;
    transcript_.Add(event);
}

void SimPrinter::RecordTransfer(SimEventKind kind, std::size_t requested, long result) {
    SimEvent event;
    event.kind = kind;
    event.requested = requested;
    event.result = result;
    transcript_.Add(event);
}

std::vector<SimEvent> SimPrinter::Events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return transcript_.events();
}

std::vector<ReceivedJob> SimPrinter::Jobs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return transcript_.jobs();
}

std::uint64_t SimPrinter::DroppedEvents() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return transcript_.dropped();
}

std::uint64_t SimPrinter::BytesReceived() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

std::uint64_t SimPrinter::DiscardedBytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return parser_.discardedBytes();
}

std::size_t SimPrinter::PendingReplyBytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pendingReplyBytes_;
}

std::uint64_t SimPrinter::DroppedReplies() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return droppedReplies_;
}

bool SimPrinter::channelOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return channelOpen_;
}

}  // namespace fwup
