#pragma once

#include <optional>

#include "ui/os_version_report.h"

namespace fwup {

// The running system's version for the start-up report. The kernel's own record is asked first:
// GetVersionExW answers what the program's manifest declares it was made for, not what runs it.
// None when no record can be read.
std::optional<OsVersionFacts> QueryHostOsVersion();

}  // namespace fwup
