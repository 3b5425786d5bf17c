#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/fnv1a.h"
#include "protocol/acl_frame.h"

namespace fwup {

enum class JobKind { kStatus, kVersion, kFirmware, kMalformed };

// Why the printer refused a job.
enum class JobFault {
    kNone,
    kBadUel,           // the job did not begin with a UEL
    kBadLanguageLine,  // the UEL was not followed by the ACL language line
    kBadPrefix,        // the frame's prefix is not ACL_PREFIX
    kUnknownCommand,   // the frame's cmdID is none the printer knows
    kTextTooLong,      // the frame announces more text than a request can hold
    kNoClosingUel,     // the frame (and its text or payload) was not followed by a UEL
};

// One job as the printer took it. A malformed job holds the bytes accepted up to the fault.
struct ReceivedJob {
    JobKind kind = JobKind::kMalformed;
    JobFault fault = JobFault::kNone;
    std::uint16_t cmdID = 0;  // 0 when no whole frame arrived
    std::string text;         // the text behind a version query's frame
    std::uint64_t byteCount = 0;
    std::uint64_t digest = 0;  // FNV-1a over the same bytes, UELs included

    bool operator==(const ReceivedJob&) const = default;
};

// Splits the write stream into jobs: UEL, language line, frame, text or payload, UEL. Bytes may
// arrive cut anywhere. After a malformed job the parser skips to the next UEL. Memory stays
// bounded whatever arrives: a request's text is capped and a firmware payload is only hashed.
class JobParser {
  public:
    // Takes the next bytes of the stream; every job that ends within them, well-formed or not,
    // is appended to `ended` in stream order.
    void Feed(std::span<const std::uint8_t> bytes, std::vector<ReceivedJob>& ended);

    // Bytes passed over while looking for a UEL after a malformed job.
    std::uint64_t discardedBytes() const { return discarded_; }

  private:
    enum class State { kUel, kLanguage, kFrame, kText, kPayload, kClosingUel, kResync };

    void Step(std::uint8_t byte, std::vector<ReceivedJob>& ended);
    void StepResync(std::uint8_t byte);
    void TakeFrame(std::vector<ReceivedJob>& ended);
    void Take(std::uint8_t byte);
    void StartJob();
    void Enter(State state);
    void Finish(std::vector<ReceivedJob>& ended);
    void Refuse(JobFault fault, std::vector<ReceivedJob>& ended);

    State state_ = State::kUel;
    std::size_t matched_ = 0;  // bytes of the current fixed string or frame seen so far
    std::array<std::uint8_t, kAclFrameSize> frame_{};
    std::size_t textLength_ = 0;
    std::uint64_t payloadLeft_ = 0;
    ReceivedJob job_;
    Fnv1a64 hash_;
    std::uint64_t discarded_ = 0;
};

}  // namespace fwup
