#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace fwup::cli {

enum class Command { kNone, kList, kCheck, kUpgrade, kHistory, kHelp, kVersion };

struct CliOptions {
    Command command = Command::kNone;
    // The printer chosen by port name or by serial (the last part of its instance ID); neither
    // means the first printer, as the window takes it.
    std::optional<std::string> port;
    std::optional<std::string> serial;
    // Every supported printer attached, one run each, in list order.
    bool all = false;
    bool yes = false;
    bool verify = false;
    std::uint32_t verifyTimeoutSeconds = 600;
    bool json = false;
};

inline constexpr std::uint32_t kMaxVerifyTimeoutSeconds = 86400;

// Reads the arguments after the program name. False with `error` naming the fault.
bool ParseCliOptions(std::span<const std::string> args, CliOptions& options, std::string& error);

// The usage text of --help.
std::string UsageText();

}  // namespace fwup::cli
