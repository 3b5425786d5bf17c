#include "app/qt/os_version_query.h"

#include <sys/utsname.h>

#include <charconv>
#include <cstdint>

namespace fwup {
namespace {

constexpr std::uint32_t kPlatformNotWindows = 0;
constexpr std::uint8_t kProductWorkstation = 1;

// Reads a decimal number at the front of `text` and drops it and one '.' after it.
std::optional<std::uint32_t> TakeNumber(std::string_view& text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
    }
    return value;
}

}  // namespace

std::optional<OsVersionFacts> OsVersionFromKernelRelease(std::string_view release) {
    const std::optional<std::uint32_t> major = TakeNumber(release);
    if (!major) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> minor = TakeNumber(release);
    return OsVersionFacts{.extendedRecord = true,
                          .platformId = kPlatformNotWindows,
                          .majorVersion = *major,
                          .minorVersion = minor.value_or(0),
                          .productType = kProductWorkstation};
}

std::optional<OsVersionFacts> QueryOsVersion() {
    utsname name{};
    if (::uname(&name) != 0) {
        return std::nullopt;
    }
    return OsVersionFromKernelRelease(name.release);
}

}  // namespace fwup
