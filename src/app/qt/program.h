#pragma once

#include <functional>

class QApplication;

namespace fwup {

// What a caller may add to the program's own start, for measuring it from inside.
struct ProgramHooks {
    // Called once the application object exists, before anything else is made.
    std::function<void(QApplication&)> afterApplication;
};

// The Linux program: one instance per user, the main window run modally, and the end of the
// process when it closes. Returns the process's exit status. `argc` and `argv` must outlive the
// call, as Qt keeps them.
int RunProgram(int& argc, char* argv[], const ProgramHooks& hooks = {});

}  // namespace fwup
