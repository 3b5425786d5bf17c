#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace fwup {

// The Windows calls that keep the system awake during a transfer, as a table so that a test can
// stand in for Windows and see every call.
struct PowerRequestCalls {
    HANDLE(WINAPI* createRequest)(PREASON_CONTEXT);
    BOOL(WINAPI* setRequest)(HANDLE, POWER_REQUEST_TYPE);
    BOOL(WINAPI* clearRequest)(HANDLE, POWER_REQUEST_TYPE);
    BOOL(WINAPI* closeHandle)(HANDLE);
    EXECUTION_STATE(WINAPI* setThreadExecutionState)(EXECUTION_STATE);
};

// Windows' own functions.
const PowerRequestCalls& WindowsPowerRequestCalls();

// Windows lets no program veto the lid or the power button; what it offers is a power request
// (the system stays on, and on Windows 8 and later a process that is being suspended keeps
// running) and the calling thread's execution state. Both are taken by the constructor and
// given back by the destructor, on every path: each request type that was set is cleared, the
// request's handle closed, and the execution state reset. A type the system does not know
// (ExecutionRequired before Windows 8, or under Wine) is simply not held. Make and destroy on the
// same thread: the execution state belongs to it.
class PowerRequest {
  public:
    PowerRequest(const PowerRequestCalls& calls, const std::wstring& reason);
    ~PowerRequest();
    PowerRequest(const PowerRequest&) = delete;
    PowerRequest& operator=(const PowerRequest&) = delete;

  private:
    const PowerRequestCalls& calls_;
    std::wstring reason_;  // the request refers to it while it lives
    HANDLE request_ = nullptr;
    std::vector<POWER_REQUEST_TYPE> held_;
};

}  // namespace fwup
