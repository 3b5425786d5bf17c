#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace fwup::cli {

enum class Command { kNone, kList, kCheck, kUpgrade, kHistory, kWatch, kHelp, kVersion };

struct CliOptions {
    Command command = Command::kNone;
    // The printer chosen by port name or by serial (the last part of its instance ID); neither
    // means the first printer, as the window takes it.
    std::optional<std::string> port;
    std::optional<std::string> serial;
    // Every supported printer attached, one run each, in list order.
    bool all = false;
    // With --all: each printer's run in a copy of this program of its own, at most this many at
    // once (0: all of them). None: one after the other, in this process.
    std::optional<std::uint32_t> parallel;
    // A run started by --parallel or watch for exactly this printer (instance ID and interface
    // path); `pinnedPort` and `pinnedModel` name it while it is not found. Its lines go to the
    // parent, which stops it through standard input.
    std::optional<std::string> pinnedInstanceId;
    std::optional<std::string> pinnedInterfacePath;
    std::string pinnedPort;
    std::string pinnedModel;
    bool yes = false;
    bool verify = false;
    std::uint32_t verifyTimeoutSeconds = 600;
    bool json = false;
};

inline constexpr std::uint32_t kMaxVerifyTimeoutSeconds = 86400;
// More runs at once than a computer has USB ports for is a typing error.
inline constexpr std::uint32_t kMaxParallelRuns = 64;

// Reads the arguments after the program name. False with `error` naming the fault.
bool ParseCliOptions(std::span<const std::string> args, CliOptions& options, std::string& error);

// The usage text of --help.
std::string UsageText();

}  // namespace fwup::cli
