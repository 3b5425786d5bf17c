#include <cstdio>
#include <string>

#include "base/wide_text.h"
#include "log/notice_output.h"

namespace fwup {
namespace {

// A debugger shows each OutputDebugStringW call as a line of its own; standard error does not,
// so a text that does not end a line gets its line break here, or the next one would run on.
class StderrNoticeOutput final : public NoticeOutput {
  public:
    void Write(std::wstring_view text) override {
        std::string bytes = ToUtf8(text);
        if (bytes.empty() || bytes.back() != '\n') {
            bytes.push_back('\n');
        }
        std::fwrite(bytes.data(), 1, bytes.size(), stderr);
        std::fflush(stderr);
    }
};

}  // namespace

NoticeOutput& HostNoticeOutput() {
    static StderrNoticeOutput output;
    return output;
}

}  // namespace fwup
