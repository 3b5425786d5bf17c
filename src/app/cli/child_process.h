#pragma once

#include <memory>
#include <string>
#include <vector>

namespace fwup::cli {

// How a child program ended: its exit code, or the way it was ended without one (a signal, a
// crash) in `how`.
struct ChildEnd {
    bool exited = false;
    int exitCode = 0;
    std::string how = {};
};

// A copy of this program started for one printer's run (--parallel, watch). Its standard output
// comes back through Read; its standard input is a pipe from us, which is how we tell it to stop.
class ChildProcess {
  public:
    virtual ~ChildProcess() = default;
    // Blocks until the child has written something to its standard output, and returns it (any
    // cut of its lines). Empty once it has closed its output or ended, or when reading failed.
    virtual std::string Read() = 0;
    // Asks the child to stop as an interrupt would (the child stops before anything it has not
    // begun; a transfer under way goes on): writes "interrupt" and a line end to its standard
    // input and closes it. Any thread may call it, more than once.
    virtual void Interrupt() = 0;
    // Waits for the child to end. Call once, after Read has returned empty.
    virtual ChildEnd Wait() = 0;
};

// Starts `program` with `args` (UTF-8; quoted as the platform needs), its standard error shared
// with ours. Null with `error` saying why when it could not be started.
std::unique_ptr<ChildProcess> StartChildProcess(const std::wstring& program,
                                                const std::vector<std::string>& args,
                                                std::string& error);

}  // namespace fwup::cli
