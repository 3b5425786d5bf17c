#include "log/notice_output.h"

#include "base/process_slot.h"

namespace fwup {
namespace {

ServiceSlot<NoticeOutput> installedOutput;

}  // namespace

NoticeOutput& ActiveNoticeOutput() {
    return installedOutput.Or(HostNoticeOutput());
}

NoticeOutput* SetActiveNoticeOutput(NoticeOutput* output) {
    return installedOutput.Exchange(output);
}

void DebugOutput(std::wstring_view text) {
    ActiveNoticeOutput().Write(text);
}

}  // namespace fwup
