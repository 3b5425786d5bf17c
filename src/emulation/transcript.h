#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/channel.h"
#include "emulation/job_parser.h"

namespace fwup {

enum class SimEventKind {
    kOpen,         // a channel was opened
    kOpenRefused,  // an open was refused (channel already open, or the open limit reached)
    kClose,
    kWrite,
    kRead,
    kVendor,
    kJob,     // a job ended, well-formed or not
    kUnplug,  // the printer was pulled
    kPlugIn,  // the printer was plugged in (one not connected at first)
};

// One thing the printer saw, in the order it saw it.
struct SimEvent {
    SimEventKind kind = SimEventKind::kOpen;
    std::size_t requested = 0;  // write, read: bytes asked for; vendor: output size offered
    long result = 0;            // write, read: the count reported, or -1; vendor: bytes returned
    std::array<std::uint8_t, 3> vendorInput{};
    VendorReply vendorReply;
    ReceivedJob job;  // kJob only
};

// An event log with a hard cap, so a transfer in one-byte writes cannot exhaust memory. Jobs are
// kept in a list of their own, so a flood of writes never pushes them out.
class Transcript {
  public:
    static constexpr std::size_t kMaxEvents = 100000;
    static constexpr std::size_t kMaxJobs = 100000;

    void Add(const SimEvent& event);
    void AddJob(const ReceivedJob& job);

    const std::vector<SimEvent>& events() const { return events_; }
    const std::vector<ReceivedJob>& jobs() const { return jobs_; }
    // Events and jobs that arrived after their list was full.
    std::uint64_t dropped() const { return dropped_; }

  private:
    std::vector<SimEvent> events_;
    std::vector<ReceivedJob> jobs_;
    std::uint64_t dropped_ = 0;
};

}  // namespace fwup
