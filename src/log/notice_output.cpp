#include "log/notice_output.h"

#include <atomic>

namespace fwup {
namespace {

std::atomic<NoticeOutput*> installedOutput{nullptr};

}  // namespace

NoticeOutput& ActiveNoticeOutput() {
    NoticeOutput* output = installedOutput.load();
    return output != nullptr ? *output : HostNoticeOutput();
}

void SetActiveNoticeOutput(NoticeOutput* output) {
    installedOutput.store(output);
}

void DebugOutput(std::wstring_view text) {
    ActiveNoticeOutput().Write(text);
}

}  // namespace fwup
