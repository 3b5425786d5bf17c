#include "emulation/job_parser.h"

#include <algorithm>

namespace fwup {
namespace {

// Frame bytes 10-13 of a firmware job: the length of the payload between frame and closing UEL.
constexpr std::size_t kPayloadLengthOffset = 10;

std::uint8_t At(std::string_view text, std::size_t index) {
    return static_cast<std::uint8_t>(text[index]);
}

JobKind KindOf(std::uint16_t cmdID) {
    switch (cmdID) {
        case ACLCMD_GET_PRINTER_STATUS:
            return JobKind::kStatus;
        case ACLCMD_GET_FW_VERSION:
            return JobKind::kVersion;
        case ACLCMD_FW_UPDATE:
            return JobKind::kFirmware;
        default:
            return JobKind::kMalformed;
    }
}

}  // namespace

void JobParser::Feed(std::span<const std::uint8_t> bytes, std::vector<ReceivedJob>& ended) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (state_ == State::kPayload) {
            // A firmware payload is hashed in bulk: 190 MB must not cost a state step per byte.
            const std::size_t take =
                static_cast<std::size_t>(std::min<std::uint64_t>(payloadLeft_, bytes.size() - i));
            hash_.Update(bytes.subspan(i, take));
            job_.byteCount += take;
            payloadLeft_ -= take;
            i += take;
            if (payloadLeft_ == 0) {
                Enter(State::kClosingUel);
            }
            continue;
        }
        Step(bytes[i], ended);
        ++i;
    }
}

void JobParser::Step(std::uint8_t byte, std::vector<ReceivedJob>& ended) {
    switch (state_) {
        case State::kUel:
            if (byte != At(UEL, matched_)) {
                Refuse(JobFault::kBadUel, ended);
                StepResync(byte);
                return;
            }
            Take(byte);
            if (++matched_ == UEL.size()) {
                Enter(State::kLanguage);
            }
            return;
        case State::kLanguage:
            if (matched_ == 0 && byte == At(UEL, 0)) {
                // UEL after UEL: the first one ended nothing, the job starts with the second.
                StartJob();
                Take(byte);
                matched_ = 1;
                state_ = State::kUel;
                return;
            }
            if (byte != At(kAclLanguageLine, matched_)) {
                Refuse(JobFault::kBadLanguageLine, ended);
                StepResync(byte);
                return;
            }
            Take(byte);
            if (++matched_ == kAclLanguageLine.size()) {
                Enter(State::kFrame);
            }
            return;
        case State::kFrame:
            Take(byte);
            frame_[matched_] = byte;
            if (++matched_ == kAclFrameSize) {
                TakeFrame(ended);
            }
            return;
        case State::kText:
            Take(byte);
            job_.text.push_back(static_cast<char>(byte));
            if (job_.text.size() == textLength_) {
                Enter(State::kClosingUel);
            }
            return;
        case State::kClosingUel:
            if (byte != At(UEL, matched_)) {
                Refuse(JobFault::kNoClosingUel, ended);
                StepResync(byte);
                return;
            }
            Take(byte);
            if (++matched_ == UEL.size()) {
                Finish(ended);
            }
            return;
        case State::kResync:
            StepResync(byte);
            return;
        case State::kPayload:
            return;  // handled in bulk by Feed
    }
}

void JobParser::StepResync(std::uint8_t byte) {
    state_ = State::kResync;
    ++discarded_;
    // The escape byte occurs only at the start of a UEL, so a mismatch can only restart there.
    if (byte == At(UEL, matched_)) {
        ++matched_;
    } else {
        matched_ = byte == At(UEL, 0) ? 1 : 0;
    }
    if (matched_ == UEL.size()) {
        discarded_ -= UEL.size();
        StartJob();
        for (std::size_t i = 0; i < UEL.size(); ++i) {
            Take(At(UEL, i));
        }
        Enter(State::kLanguage);
    }
}

void JobParser::TakeFrame(std::vector<ReceivedJob>& ended) {
    const std::span<const std::uint8_t> frame(frame_);
    if (ReadBe16(frame, kAclPrefixOffset) != ACL_PREFIX) {
        Refuse(JobFault::kBadPrefix, ended);
        return;
    }
    job_.cmdID = ReadBe16(frame, kAclCmdIdOffset);
    job_.kind = KindOf(job_.cmdID);
    switch (job_.kind) {
        case JobKind::kStatus:
            Enter(State::kClosingUel);
            return;
        case JobKind::kVersion:
            textLength_ = ReadBe16(frame, kAclArgumentOffset);
            if (textLength_ > kAclMaxTextBytes) {
                Refuse(JobFault::kTextTooLong, ended);
                return;
            }
            Enter(textLength_ == 0 ? State::kClosingUel : State::kText);
            return;
        case JobKind::kFirmware:
            payloadLeft_ = ReadBe32(frame, kPayloadLengthOffset);
            Enter(payloadLeft_ == 0 ? State::kClosingUel : State::kPayload);
            return;
        case JobKind::kMalformed:
            Refuse(JobFault::kUnknownCommand, ended);
            return;
    }
}

void JobParser::Take(std::uint8_t byte) {
    hash_.Update(byte);
    ++job_.byteCount;
}

void JobParser::StartJob() {
    job_ = ReceivedJob{};
    hash_ = Fnv1a64{};
}

void JobParser::Enter(State state) {
    state_ = state;
    matched_ = 0;
}

void JobParser::Finish(std::vector<ReceivedJob>& ended) {
    job_.digest = hash_.value();
    ended.push_back(std::move(job_));
    StartJob();
    Enter(State::kUel);
}

void JobParser::Refuse(JobFault fault, std::vector<ReceivedJob>& ended) {
    job_.kind = JobKind::kMalformed;
    job_.fault = fault;
    job_.digest = hash_.value();
    ended.push_back(std::move(job_));
    StartJob();
    Enter(State::kResync);
}

}  // namespace fwup
