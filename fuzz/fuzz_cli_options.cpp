// The console program's option parser over any argument list (the input split at NUL bytes):
// it never fails without saying why, and what it accepts holds together (a command, at most one
// way of choosing the printer, bounded values, --yes and --verify only for upgrade and watch,
// --parallel only with --all, a pinned printer only alone and only for one check or upgrade).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/cli/cli_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace cli = fwup::cli;
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size && args.size() <= 64; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back().push_back(static_cast<char>(data[i]));
        }
    }
    cli::CliOptions options;
    std::string error;
    if (!cli::ParseCliOptions(args, options, error)) {
        if (error.empty()) {
            std::abort();
        }
        return 0;
    }
    if (!error.empty() || options.command == cli::Command::kNone ||
        options.verifyTimeoutSeconds < 1 ||
        options.verifyTimeoutSeconds > cli::kMaxVerifyTimeoutSeconds) {
        std::abort();
    }
    // --help and --version win over whatever else was given.
    if (options.command == cli::Command::kHelp || options.command == cli::Command::kVersion) {
        return 0;
    }
    if ((options.port && options.serial) ||
        (options.port && (options.port->empty() || options.port->size() > 255)) ||
        (options.serial && (options.serial->empty() || options.serial->size() > 255)) ||
        ((options.yes || options.verify) && options.command != cli::Command::kUpgrade &&
         options.command != cli::Command::kWatch) ||
        (options.command == cli::Command::kList && (options.port || options.serial))) {
        std::abort();
    }
    const bool choosesPrinter = options.all || options.port || options.serial;
    const bool pinned = options.pinnedInstanceId.has_value();
    if ((options.command == cli::Command::kWatch && choosesPrinter) ||
        (options.parallel && (!options.all || *options.parallel > cli::kMaxParallelRuns)) ||
        pinned != options.pinnedInterfacePath.has_value() ||
        (pinned && (choosesPrinter || (options.command != cli::Command::kCheck &&
                                       options.command != cli::Command::kUpgrade)))) {
        std::abort();
    }
    return 0;
}
