#pragma once

#include <cstdint>
#include <vector>

#include "emulation/scenario.h"

namespace fwup {

// The 16-byte answer to a status job: byte 6 holds the status, the header fields follow the
// scenario's reply faults.
std::vector<std::uint8_t> BuildStatusReply(const PrinterScenario& printer);

// The answer to a version job: a 16-byte header whose bytes 6-7 give N, then N bytes of data:
// the version text, cut or zero-padded to N when the scenario overrides the length. With the data
// withheld it is the header alone, still announcing N.
std::vector<std::uint8_t> BuildVersionReply(const PrinterScenario& printer);

}  // namespace fwup
