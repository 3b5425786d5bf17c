#include "app/cli/program_arguments.h"

namespace fwup::cli {

std::vector<std::string> ProgramArguments(int argc, char* argv[]) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return args;
}

}  // namespace fwup::cli
