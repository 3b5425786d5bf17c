#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "emulation/scenario.h"

namespace fwup {

// Bounds on what a scenario may ask for; a file is untrusted input.
inline constexpr std::size_t kMaxScenarioBytes = 1 << 20;
inline constexpr std::size_t kMaxScenarioPrinters = 64;
inline constexpr int kMaxScenarioDepth = 8;
inline constexpr std::uint32_t kMaxPortNumber = 9999;

// Parses a scenario (format in the README, "Simulated printer"). On failure returns false, leaves
// `scenario` untouched and puts a one-line message naming the offending key into `error`.
bool ParseScenario(std::string_view json, Scenario& scenario, std::string& error);

// Reads and parses a scenario file of at most kMaxScenarioBytes. A `stateFile` it names (relative
// paths are taken from the scenario's folder) gives its printers the versions remembered there;
// ParseScenario alone reads no other file.
bool LoadScenarioFile(const std::filesystem::path& file, Scenario& scenario, std::string& error);

}  // namespace fwup
