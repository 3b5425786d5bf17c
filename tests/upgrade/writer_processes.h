#pragma once

#include <string>
#include <vector>

namespace fwup::testing {

// The work of one writer process: true when all of it was done.
using WriterWork = bool (*)(const std::string& task);

// Runs `work` once per task, each in a process of its own, all started together, and returns each
// process's exit code (0 when its work was done). POSIX forks; Windows starts this test binary
// again with only `childTest` selected and the task in kWriterTaskVariable, and that test calls
// RunWriterTaskIfStarted.
std::vector<int> RunInWriterProcesses(const std::vector<std::string>& tasks, WriterWork work,
                                      const char* childTest);

inline constexpr const char* kWriterTaskVariable = "FWUP_TEST_WRITER_TASK";

// In a process RunInWriterProcesses started (Windows): runs `work` on its task and says whether
// it was done. True, doing nothing, in any other process.
bool RunWriterTaskIfStarted(WriterWork work);

}  // namespace fwup::testing
