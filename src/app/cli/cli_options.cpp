#include "app/cli/cli_options.h"

#include <cctype>

namespace fwup::cli {
namespace {

bool IsPortName(const std::string& text) {
    if (text.size() < 4 || std::toupper(static_cast<unsigned char>(text[0])) != 'U' ||
        std::toupper(static_cast<unsigned char>(text[1])) != 'S' ||
        std::toupper(static_cast<unsigned char>(text[2])) != 'B') {
        return false;
    }
    for (std::size_t i = 3; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

bool AllDigits(const std::string& text) {
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return !text.empty();
}

// A whole number from 1 to `most`.
std::optional<std::uint32_t> Count(const std::string& text, std::uint32_t most) {
    if (text.size() > 6 || !AllDigits(text)) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text) {
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (value == 0 || value > most) {
        return std::nullopt;
    }
    return value;
}

bool SetCommand(const std::string& word, CliOptions& options) {
    if (word == "list") {
        options.command = Command::kList;
    } else if (word == "check") {
        options.command = Command::kCheck;
    } else if (word == "upgrade") {
        options.command = Command::kUpgrade;
    } else if (word == "history") {
        options.command = Command::kHistory;
    } else if (word == "watch") {
        options.command = Command::kWatch;
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool ParseCliOptions(std::span<const std::string> args, CliOptions& options, std::string& error) {
    options = CliOptions{};
    bool help = false;
    bool version = false;
    std::optional<std::string> printer;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--yes" || arg == "-y") {
            options.yes = true;
        } else if (arg == "--verify") {
            options.verify = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--all") {
            options.all = true;
        } else if (arg == "--verify-timeout") {
            const std::optional<std::uint32_t> seconds =
                hasValue ? Count(args[i + 1], kMaxVerifyTimeoutSeconds) : std::nullopt;
            if (!seconds) {
                error = "--verify-timeout needs a number of seconds from 1 to 86400";
                return false;
            }
            options.verifyTimeoutSeconds = *seconds;
            ++i;
        } else if (arg == "--parallel") {
            options.parallel = 0;
            // The count is optional: a number after it is the count, anything else is not.
            if (hasValue && AllDigits(args[i + 1])) {
                const std::optional<std::uint32_t> most = Count(args[i + 1], kMaxParallelRuns);
                if (!most) {
                    error = "--parallel takes a number of runs at once from 1 to " +
                            std::to_string(kMaxParallelRuns);
                    return false;
                }
                options.parallel = *most;
                ++i;
            }
        } else if (arg == "--pinned-instance-id" || arg == "--pinned-interface-path" ||
                   arg == "--pinned-port" || arg == "--pinned-model") {
            if (!hasValue || args[i + 1].size() > 1024) {
                error = arg + " needs a value";
                return false;
            }
            if (arg == "--pinned-instance-id") {
                options.pinnedInstanceId = args[i + 1];
            } else if (arg == "--pinned-interface-path") {
                options.pinnedInterfacePath = args[i + 1];
            } else {
                (arg == "--pinned-port" ? options.pinnedPort : options.pinnedModel) = args[i + 1];
            }
            ++i;
        } else if (arg == "--port" || arg == "--serial") {
            if (!hasValue || args[i + 1].empty() || args[i + 1].size() > 255) {
                error = arg + " needs a value";
                return false;
            }
            (arg == "--port" ? options.port : options.serial) = args[i + 1];
            ++i;
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option '" + arg + "'";
            return false;
        } else if (options.command == Command::kNone) {
            if (!SetCommand(arg, options)) {
                error = "unknown command '" + arg + "'";
                return false;
            }
        } else if (!printer && !arg.empty() && arg.size() <= 255) {
            printer = arg;
        } else {
            error = "unexpected argument '" + arg + "'";
            return false;
        }
    }
    if (help) {
        options.command = Command::kHelp;
        return true;
    }
    if (version) {
        options.command = Command::kVersion;
        return true;
    }
    if (options.command == Command::kNone) {
        error = "no command given";
        return false;
    }
    if (printer) {
        if (options.port || options.serial) {
            error = "choose the printer once: a printer argument or --port or --serial";
            return false;
        }
        (IsPortName(*printer) ? options.port : options.serial) = *printer;
    }
    if (options.port && options.serial) {
        error = "--port and --serial cannot be combined";
        return false;
    }
    if ((options.command == Command::kList || options.command == Command::kHistory) &&
        (options.port || options.serial)) {
        error = std::string(options.command == Command::kList ? "list" : "history") +
                " takes no printer";
        return false;
    }
    if (options.all &&
        (options.command == Command::kList || options.command == Command::kHistory)) {
        error = "--all belongs to check and upgrade";
        return false;
    }
    if (options.all && (options.port || options.serial)) {
        error = "--all takes no printer choice";
        return false;
    }
    const bool upgrades =
        options.command == Command::kUpgrade || options.command == Command::kWatch;
    if (!upgrades && (options.yes || options.verify)) {
        error = "--yes and --verify belong to upgrade and watch";
        return false;
    }
    if (options.command == Command::kWatch && (options.all || options.port || options.serial)) {
        error = "watch takes every printer attached, and no printer choice";
        return false;
    }
    if (options.parallel && !options.all) {
        error = "--parallel belongs to --all";
        return false;
    }
    const bool pinned = options.pinnedInstanceId.has_value();
    if (pinned != options.pinnedInterfacePath.has_value() ||
        (!pinned && (!options.pinnedPort.empty() || !options.pinnedModel.empty()))) {
        error = "--pinned-instance-id and --pinned-interface-path go together";
        return false;
    }
    if (pinned && (options.all || options.port || options.serial ||
                   (options.command != Command::kCheck && options.command != Command::kUpgrade))) {
        error = "a pinned printer is the only choice of one check or upgrade";
        return false;
    }
    return true;
}

std::string UsageText() {
    return "Usage: viruzu-fwup-cli <command> [printer] [options]\n"
           "\n"
           "Commands:\n"
           "  list                 the supported printers attached: port, model, instance ID\n"
           "  check [printer]      status, firmware version verdict and security record\n"
           "  upgrade [printer]    one whole upgrade run, as the window's Start does\n"
           "  history              the record of every run on this computer, oldest first\n"
           "  watch                until interrupted, upgrade every supported printer attached\n"
           "                       or plugged in later, once each, several at once; then a\n"
           "                       summary as for --all\n"
           "\n"
           "Printer (default: the first one found):\n"
           "  --port USB002        the printer on this port\n"
           "  --serial ABC123      the printer with this serial (last part of its instance ID)\n"
           "  --all                every supported printer attached, one run each, then a\n"
           "                       summary\n"
           "  --parallel [N]       with --all: every printer's run at the same time, each in a\n"
           "                       copy of this program, at most N at once (default: all)\n"
           "\n"
           "Options:\n"
           "  --yes                answer Yes when the printer already runs the package's version\n"
           "  --verify             after the transfer, wait for the printer to come back and\n"
           "                       confirm it runs the package's version\n"
           "  --verify-timeout S   how long --verify waits, in seconds (default 600)\n"
           "  --json               one JSON object per line; the last one is the result\n"
           "  --help, --version\n"
           "\n"
           "Exit codes: 0 succeeded, 1 error, 2 usage, 3 not-connected, 4 port-busy,\n"
           "5 not-ready, 6 declined, 7 firmware-unrecognized, 8 printer-lost, 9 failed,\n"
           "10 verify-failed, 11 low-battery, 12 in-use, 13 some-failed (--all: a printer\n"
           "ended with another code than 0 or 6), 130 interrupted.\n"
           "\n"
           "Every upgrade and check appends a line to the run history, history.jsonl: beside\n"
           "Tool.log when that is beside the program; for an installed program in\n"
           "/var/lib/viruzu-fwup/ as root, else in $XDG_STATE_HOME/viruzu-fwup/\n"
           "(~/.local/state/viruzu-fwup/). At 1 MiB it moves to history.jsonl.1.\n";
}

}  // namespace fwup::cli
