#include "upgrade/win32/power_request.h"

namespace fwup {

const PowerRequestCalls& WindowsPowerRequestCalls() {
    static const PowerRequestCalls calls{&PowerCreateRequest, &PowerSetRequest, &PowerClearRequest,
                                         &CloseHandle, &SetThreadExecutionState};
    return calls;
}

PowerRequest::PowerRequest(const PowerRequestCalls& calls, const std::wstring& reason)
    : calls_(calls), reason_(reason) {
    calls_.setThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
    REASON_CONTEXT context{};
    context.Version = POWER_REQUEST_CONTEXT_VERSION;
    context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
    context.Reason.SimpleReasonString = reason_.data();
    const HANDLE request = calls_.createRequest(&context);
    if (request == nullptr || request == INVALID_HANDLE_VALUE) {
        return;
    }
    request_ = request;
    for (const POWER_REQUEST_TYPE type :
         {PowerRequestSystemRequired, PowerRequestExecutionRequired}) {
        if (calls_.setRequest(request_, type)) {
            held_.push_back(type);
        }
    }
}

PowerRequest::~PowerRequest() {
    for (const POWER_REQUEST_TYPE type : held_) {
        calls_.clearRequest(request_, type);
    }
    if (request_ != nullptr) {
        calls_.closeHandle(request_);
    }
    calls_.setThreadExecutionState(ES_CONTINUOUS);
}

}  // namespace fwup
