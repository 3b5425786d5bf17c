#pragma once

#include <cstdint>
#include <string>

namespace fwup::cli {

struct InterruptState;

struct VerifyOutcome {
    bool cameBack = false;   // the printer answered the status query with a ready state again
    int versionVerdict = 0;  // QueryFwVersion's result once it came back
    bool interrupted = false;
};

// After a transfer: waits for the printer with `instanceId` to be listed again, answer the status
// query with a ready state and have its firmware version read, polling every few seconds for at
// most `timeoutSeconds` (clock seam). A printer that answers with another version ends the wait
// at once. An interrupt ends it too.
VerifyOutcome VerifyUpgrade(const std::wstring& instanceId, std::uint32_t timeoutSeconds,
                            const InterruptState& interrupts);

}  // namespace fwup::cli
