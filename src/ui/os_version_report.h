#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace fwup {

// What the platform says about its own version, as far as the start-up report needs it.
struct OsVersionFacts {
    bool extendedRecord = false;  // the extended record was read, not only the basic one
    std::uint32_t platformId = 0;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint8_t productType = 0;  // from the extended record; 1 is a workstation
    bool serverR2 = false;         // the platform's "Server 2003 R2" metric is non-zero
};

// Reads the platform's version; none when it cannot be read at all.
using OsVersionQuery = std::function<std::optional<OsVersionFacts>()>;

// The report's code for a version: 7 for XP, 19 for a Windows 10 workstation, 0 for anything the
// table does not know, and so on.
int ClassifyOsVersion(const OsVersionFacts& facts);

// Writes the version report to the debugger output (two lines) and its Windows 10 verdict as a
// notice. Nothing is written when `query` is empty or yields none. Always returns -1: nothing
// depends on the code, which only goes into the report.
int ReportOsVersion(const OsVersionQuery& query);

}  // namespace fwup
