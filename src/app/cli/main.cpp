// The console program's entry point.

#include <string>
#include <vector>

#include "app/cli/cli_program.h"

int main(int argc, char* argv[]) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return fwup::cli::RunCli(args);
}
