// The Linux program's entry point.

#include "app/qt/program.h"

int main(int argc, char* argv[]) {
    return fwup::RunProgram(argc, argv);
}
