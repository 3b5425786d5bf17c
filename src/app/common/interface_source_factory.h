#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "device/interface_source.h"

namespace fwup {

// The interface source the program runs on: the simulated printers of the scenario file named by
// VIRUZU_FWUP_EMULATE when it is set and not empty, otherwise the platform's own. Null with
// `error` set when the scenario cannot be loaded or the platform's source cannot be started.
// `scenarioFile` is the file named, none for the platform's own source.
std::unique_ptr<InterfaceSource> MakeInterfaceSource(
    std::optional<std::filesystem::path>& scenarioFile, std::string& error);

}  // namespace fwup
