// The power request of a transfer through a stand-in for Windows: every call, in order, and
// everything given back on every path. Then the real calls, which must not fail a run where the
// system knows less (Wine, Windows 7).

#include "upgrade/win32/power_request.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "upgrade/upgrade_transfer_guard.h"

namespace fwup {
namespace {

// What the stand-in was asked, as words, and what it answers.
struct Script {
    std::vector<std::string> calls;
    bool createFails = false;
    bool executionRequiredFails = false;
    std::wstring reason;
};
Script* script = nullptr;

HANDLE const kRequest = reinterpret_cast<HANDLE>(0x5a7c);

std::string TypeName(POWER_REQUEST_TYPE type) {
    switch (type) {
        case PowerRequestSystemRequired:
            return "system";
        case PowerRequestExecutionRequired:
            return "execution";
        default:
            return "other";
    }
}

HANDLE WINAPI FakeCreate(PREASON_CONTEXT context) {
    script->calls.push_back("create");
    if (context->Flags == POWER_REQUEST_CONTEXT_SIMPLE_STRING) {
        script->reason = context->Reason.SimpleReasonString;
    }
    return script->createFails ? INVALID_HANDLE_VALUE : kRequest;
}
BOOL WINAPI FakeSet(HANDLE request, POWER_REQUEST_TYPE type) {
    script->calls.push_back("set " + TypeName(type) +
                            (request == kRequest ? "" : " (wrong handle)"));
    return !(type == PowerRequestExecutionRequired && script->executionRequiredFails);
}
BOOL WINAPI FakeClear(HANDLE request, POWER_REQUEST_TYPE type) {
    script->calls.push_back("clear " + TypeName(type) +
                            (request == kRequest ? "" : " (wrong handle)"));
    return TRUE;
}
BOOL WINAPI FakeClose(HANDLE request) {
    script->calls.push_back(request == kRequest ? "close" : "close (wrong handle)");
    return TRUE;
}
EXECUTION_STATE WINAPI FakeExecutionState(EXECUTION_STATE state) {
    script->calls.push_back(state == (ES_CONTINUOUS | ES_SYSTEM_REQUIRED) ? "awake"
                            : state == ES_CONTINUOUS                      ? "as before"
                                                                          : "other state");
    return ES_CONTINUOUS;
}

constexpr PowerRequestCalls kFake{&FakeCreate, &FakeSet, &FakeClear, &FakeClose,
                                  &FakeExecutionState};

struct RequestCase {
    const char* name;
    bool createFails;
    bool executionRequiredFails;
    std::vector<std::string> calls;
};

class PowerRequestCallsTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(PowerRequestCallsTest, TakesWhatTheSystemGivesAndGivesAllOfItBack) {
    Script calls;
    calls.createFails = GetParam().createFails;
    calls.executionRequiredFails = GetParam().executionRequiredFails;
    script = &calls;
    { const PowerRequest request(kFake, L"Printer firmware is being written"); }
    script = nullptr;
    EXPECT_EQ(calls.calls, GetParam().calls);
    if (!GetParam().createFails) {
        EXPECT_EQ(calls.reason, L"Printer firmware is being written");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PowerRequestCallsTest,
    ::testing::Values(RequestCase{"Everything",
                                  false,
                                  false,
                                  {"awake", "create", "set system", "set execution", "clear system",
                                   "clear execution", "close", "as before"}},
                      RequestCase{"NoExecutionRequired",
                                  false,
                                  true,
                                  {"awake", "create", "set system", "set execution", "clear system",
                                   "close", "as before"}},
                      RequestCase{"NoRequest", true, false, {"awake", "create", "as before"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PowerRequestOfTheSystem, NeverFailsARun) {
    { const PowerRequest request(WindowsPowerRequestCalls(), L"viruzu-fwup test"); }
    // The whole guard as the console program takes it: no window to tie a shutdown block to.
    EXPECT_NE(MakeHostTransferGuard(nullptr), nullptr);
}

}  // namespace
}  // namespace fwup
