#pragma once

#include <string>
#include <vector>

#include "app/common/program_services.h"
#include "log/notice_output.h"

namespace fwup::testing {

// Captures every line sent to the debugger output while it lives.
class RecordingNoticeOutput final : public NoticeOutput {
  public:
    RecordingNoticeOutput() = default;
    RecordingNoticeOutput(const RecordingNoticeOutput&) = delete;
    RecordingNoticeOutput& operator=(const RecordingNoticeOutput&) = delete;

    void Write(std::wstring_view text) override { lines.emplace_back(text); }

    std::vector<std::wstring> lines;

  private:
    const InstalledServices installed_{{.notices = this}};
};

}  // namespace fwup::testing
