// The console program's entry point.

#include "app/cli/cli_program.h"
#include "app/cli/program_arguments.h"

int main(int argc, char* argv[]) {
    return fwup::cli::RunCli(fwup::cli::ProgramArguments(argc, argv));
}
