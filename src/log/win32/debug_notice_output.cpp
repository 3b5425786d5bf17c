#include <windows.h>

#include <string>

#include "log/notice_output.h"

namespace fwup {
namespace {

class DebuggerNoticeOutput final : public NoticeOutput {
public:
    void Write(std::wstring_view text) override {
        const std::wstring terminated(text);
        OutputDebugStringW(terminated.c_str());
    }
};

}  // namespace

NoticeOutput& HostNoticeOutput() {
    static DebuggerNoticeOutput output;
    return output;
}

}  // namespace fwup
