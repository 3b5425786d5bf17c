#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace fwup {

// The version text a simulated printer answers with once it has taken the package: the digits
// the host compares are the package's own.
std::string PackageVersionText();

// What simulated printers remember from one program run to the next: the firmware version each
// answers with, keyed by interface path (unique within a scenario, unlike an instance ID). A
// missing file remembers nothing; a damaged one is an error, never a silent fresh start.
using PrinterVersions = std::map<std::wstring, std::string>;

bool ReadPrinterVersions(const std::filesystem::path& file, PrinterVersions& versions,
                         std::string& error);

// Sets one printer's remembered version. The file is replaced whole (written beside it, then
// renamed), so a process ended mid-write leaves the old state, not a cut one; the change is made
// holding <file>.lock, so processes recording at once each keep their printer's version.
bool RecordPrinterVersion(const std::filesystem::path& file, const std::wstring& interfacePath,
                          const std::string& version, std::string& error);

}  // namespace fwup
