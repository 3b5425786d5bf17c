#include <sys/wait.h>
#include <unistd.h>

#include "upgrade/writer_processes.h"

namespace fwup::testing {

std::vector<int> RunInWriterProcesses(const std::vector<std::string>& tasks, WriterWork work,
                                      const char* /*childTest*/) {
    // The writers start together: each waits for the end of this pipe, which comes when all
    // are forked.
    int start[2] = {-1, -1};
    if (::pipe(start) != 0) {
        return std::vector<int>(tasks.size(), -1);
    }
    std::vector<pid_t> children;
    for (const std::string& task : tasks) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(start[1]);
            char none = 0;
            while (::read(start[0], &none, 1) < 0) {
            }
            ::_exit(work(task) ? 0 : 1);
        }
        children.push_back(child);
    }
    ::close(start[0]);
    ::close(start[1]);
    std::vector<int> codes;
    for (const pid_t child : children) {
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child) {
            codes.push_back(-1);
        } else {
            codes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
        }
    }
    return codes;
}

bool RunWriterTaskIfStarted(WriterWork /*work*/) {
    return true;
}

}  // namespace fwup::testing
