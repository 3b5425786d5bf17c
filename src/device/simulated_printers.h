#pragma once

#include <optional>
#include <string>

namespace fwup {

// Names a scenario file: the program then talks to simulated printers instead of USB.
inline constexpr const wchar_t* kEmulateVariable = L"VIRUZU_FWUP_EMULATE";
// The monotonic time (ms) the simulated printers' timed arrivals count from. A program sets it
// for the copies of itself it starts (--parallel, watch), so that all of them see one scenario
// clock; a value that is not a time before now is ignored.
inline constexpr const wchar_t* kSimEpochVariable = L"VIRUZU_FWUP_SIM_EPOCH_MS";

// The scenario file whose simulated printers the program talks to instead of USB; none while it
// talks to real printers. Start-up says so once the printer source is made, before the window
// opens; the window title and every run's log then show it, so that a simulated success is never
// taken for a flashed printer. The scenario set before is returned.
std::optional<std::wstring> SetSimulatedPrintersScenario(std::optional<std::wstring> scenarioFile);
std::optional<std::wstring> SimulatedPrintersScenario();

}  // namespace fwup
