#include <windows.h>

#include <cstdlib>

#include "base/wide_text.h"
#include "base/win32/unique_win32.h"
#include "upgrade/writer_processes.h"

namespace fwup::testing {

std::vector<int> RunInWriterProcesses(const std::vector<std::string>& tasks, WriterWork /*work*/,
                                      const char* childTest) {
    wchar_t self[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    std::vector<win32::UniqueKernelHandle> children;
    std::vector<win32::UniqueKernelHandle> threads;
    for (const std::string& task : tasks) {
        std::wstring commandLine =
            L"\"" + std::wstring(self, length) + L"\" --gtest_filter=" + FromUtf8(childTest);
        ::SetEnvironmentVariableW(FromUtf8(kWriterTaskVariable).c_str(), FromUtf8(task).c_str());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        // Started suspended, so that the writers start together once all are there.
        if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                             nullptr, nullptr, &startup, &process)) {
            threads.emplace_back(process.hThread);
            children.emplace_back(process.hProcess);
        } else {
            children.emplace_back();
        }
    }
    for (const win32::UniqueKernelHandle& thread : threads) {
        ::ResumeThread(thread.get());
    }
    ::SetEnvironmentVariableW(FromUtf8(kWriterTaskVariable).c_str(), nullptr);
    std::vector<int> codes;
    for (const win32::UniqueKernelHandle& child : children) {
        DWORD code = 0;
        if (!child.valid() || ::WaitForSingleObject(child.get(), INFINITE) != WAIT_OBJECT_0 ||
            !::GetExitCodeProcess(child.get(), &code)) {
            codes.push_back(-1);
        } else {
            codes.push_back(static_cast<int>(code));
        }
    }
    return codes;
}

bool RunWriterTaskIfStarted(WriterWork work) {
    wchar_t task[4096];
    const DWORD length = ::GetEnvironmentVariableW(FromUtf8(kWriterTaskVariable).c_str(), task,
                                                   sizeof task / sizeof task[0]);
    if (length == 0 || length >= sizeof task / sizeof task[0]) {
        return true;
    }
    return work(ToUtf8(std::wstring(task, length)));
}

}  // namespace fwup::testing
