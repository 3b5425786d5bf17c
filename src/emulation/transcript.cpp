#include "emulation/transcript.h"

namespace fwup {

void Transcript::Add(const SimEvent& event) {
    if (events_.size() < kMaxEvents) {
        events_.push_back(event);
    } else {
        ++dropped_;
    }
}

void Transcript::AddJob(const ReceivedJob& job) {
    SimEvent event;
    event.kind = SimEventKind::kJob;
    event.job = job;
    Add(event);
    if (jobs_.size() < kMaxJobs) {
        jobs_.push_back(job);
    } else {
        ++dropped_;
    }
}

}  // namespace fwup
