#include <cstdio>
#include <string>

#include "base/wide_text.h"
#include "log/notice_output.h"

namespace fwup {
namespace {

class StderrNoticeOutput final : public NoticeOutput {
public:
    void Write(std::wstring_view text) override {
        const std::string bytes = ToUtf8(text);
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
