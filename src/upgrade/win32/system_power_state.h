#pragma once

#include <windows.h>

#include <memory>

#include "upgrade/power_state.h"

namespace fwup {

using GetSystemPowerStatusCall = BOOL(WINAPI*)(LPSYSTEM_POWER_STATUS);

// The power state GetSystemPowerStatus (or a test's stand-in for it) reports, asked afresh on
// every Read.
std::unique_ptr<PowerStateSource> MakeSystemPowerStateSource(GetSystemPowerStatusCall call);

}  // namespace fwup
