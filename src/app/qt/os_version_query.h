#pragma once

#include <optional>
#include <string_view>

#include "ui/os_version_report.h"

namespace fwup {

// The start-up report's facts on Linux: the kernel's version as major and minor, a workstation,
// and a platform id (0) that is not Windows NT's, so the report reads "not Windows 10".
std::optional<OsVersionFacts> OsVersionFromKernelRelease(std::string_view release);

// The running kernel's facts (uname), or none when they cannot be read.
std::optional<OsVersionFacts> QueryOsVersion();

}  // namespace fwup
