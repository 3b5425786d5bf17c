#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/channel.h"
#include "emulation/job_parser.h"
#include "emulation/scenario.h"
#include "emulation/transcript.h"

namespace fwup {

// One simulated printer: takes jobs from the write stream, answers well-formed queries on the
// read direction, answers the vendor request with its security record, and injects the faults
// of its scenario. Every call is serialised by one mutex, so a worker thread may drive a channel
// while another thread reads the transcript. Clock time (slow link, read time-outs) is spent
// outside the lock.
class SimPrinter {
  public:
    // Pending replies above this are dropped, so a host that never reads cannot grow memory.
    static constexpr std::size_t kMaxPendingReplyBytes = 1 << 20;

    // With a state file, a printer that takes a whole firmware job answers with the package's
    // version from then on (or afterFirmware's) and writes it there for the next program run.
    explicit SimPrinter(PrinterScenario scenario,
                        std::optional<std::filesystem::path> stateFile = std::nullopt);
    SimPrinter(const SimPrinter&) = delete;
    SimPrinter& operator=(const SimPrinter&) = delete;

    // Fixed at construction; safe to read from any thread.
    const PrinterScenario& scenario() const { return scenario_; }

    // The device side, as the interface source and the channel use it. Only one channel may be
    // open at a time, as the platform opens the interface with exclusive write access.
    bool present() const;
    bool TryOpen();
    void CloseChannel();
    long Write(std::span<const std::uint8_t> bytes);
    long Read(std::span<std::uint8_t> buffer);
    VendorReply VendorRequest(std::span<const std::uint8_t, 3> input,
                              std::span<std::uint8_t> output);
    // Pulls the printer: it leaves the interface set and every later call on it fails.
    void Unplug();
    // Plugs in a printer that was not connected at first (its scenario's `appears`); it then joins
    // the interface set. A printer that has been pulled stays gone.
    void PlugIn();

    // What the printer saw.
    std::vector<SimEvent> Events() const;
    std::vector<ReceivedJob> Jobs() const;
    std::uint64_t DroppedEvents() const;
    std::uint64_t BytesReceived() const;   // every byte accepted by a write
    std::uint64_t DiscardedBytes() const;  // bytes skipped after malformed jobs
    std::size_t PendingReplyBytes() const;
    std::uint64_t DroppedReplies() const;
    bool channelOpen() const;

  private:
    struct PendingReply {
        std::vector<std::uint8_t> bytes;
        std::size_t delivered = 0;
        std::optional<std::int64_t> firstReadSecond;  // starts the silence of a silent printer
    };

    long WriteLocked(std::span<const std::uint8_t> bytes, std::uint32_t& sleepMs);
    long ReadLocked(std::span<std::uint8_t> buffer, std::uint32_t& sleepMs);
    VendorReply VendorLocked(std::span<const std::uint8_t, 3> input,
                             std::span<std::uint8_t> output);
    void Accept(std::span<const std::uint8_t> bytes);
    void QueueReply(std::vector<std::uint8_t> reply);
    void UnplugLocked();
    void RecordTransfer(SimEventKind kind, std::size_t requested, long result);

    const PrinterScenario scenario_;
    const std::optional<std::filesystem::path> stateFile_;
    const std::vector<std::uint8_t> securityRecord_;

    mutable std::mutex mutex_;
    JobParser parser_;
    Transcript transcript_;
    std::deque<PendingReply> replies_;
    std::size_t pendingReplyBytes_ = 0;
    std::uint64_t droppedReplies_ = 0;
    std::uint64_t received_ = 0;
    std::uint32_t opens_ = 0;
    std::uint32_t failedWrites_ = 0;
    std::uint32_t failedReads_ = 0;
    bool channelOpen_ = false;
    bool unplugged_ = false;
    bool pluggedIn_;
    bool zeroWriteDone_ = false;
    bool vendorErrorDone_ = false;
    // After a firmware job (afterFirmware): gone until this monotonic clock time, then back
    // answering with `version_`.
    std::optional<std::int64_t> awayUntilMs_;
    std::string version_;

    bool AwayLocked() const;
    void TakeFirmwareLocked();
};

}  // namespace fwup
