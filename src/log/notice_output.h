#pragma once

#include <string_view>

namespace fwup {

// The debugger output: OutputDebugStringW on Windows, standard error elsewhere. Text passes
// unchanged; nothing of it reaches the tool log file.
class NoticeOutput {
  public:
    virtual ~NoticeOutput() = default;
    virtual void Write(std::wstring_view text) = 0;
};

// The platform's own debugger output (defined in the platform folder).
NoticeOutput& HostNoticeOutput();

// The output the core uses: the host's until another is installed; nullptr restores the host's.
// The output installed before is returned.
NoticeOutput& ActiveNoticeOutput();
NoticeOutput* SetActiveNoticeOutput(NoticeOutput* output);

// Sends `text` straight to the active debugger output, with no notice text around it.
void DebugOutput(std::wstring_view text);

}  // namespace fwup
