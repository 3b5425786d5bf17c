#pragma once

#include <string>
#include <vector>

#include "log/notice_output.h"

namespace fwup::testing {

// Captures every line sent to the debugger output while it lives.
class RecordingNoticeOutput final : public NoticeOutput {
  public:
    RecordingNoticeOutput() { SetActiveNoticeOutput(this); }
    ~RecordingNoticeOutput() override { SetActiveNoticeOutput(nullptr); }
    RecordingNoticeOutput(const RecordingNoticeOutput&) = delete;
    RecordingNoticeOutput& operator=(const RecordingNoticeOutput&) = delete;

    void Write(std::wstring_view text) override { lines.emplace_back(text); }

    std::vector<std::wstring> lines;
};

}  // namespace fwup::testing
