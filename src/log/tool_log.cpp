#include "log/tool_log.h"

#include <mutex>

#include "base/clock.h"
#include "log/append_file.h"
#include "log/cp936.h"
#include "log/log_line.h"
#include "log/module_path.h"
#include "log/notice_output.h"
#include "log/tool_log_place.h"

namespace fwup {
namespace {

constexpr std::wstring_view kToolLogFileName = L"Tool.log";
constexpr std::wstring_view kNoticePrefix = L"Tool show NOTICE\uFF1A";

struct Subject {
    std::mutex mutex;
    std::wstring text;
};

// Made on first use, so that a line written while other files' statics are made finds it, and
// never destroyed, so that a thread still logging while the program ends never meets it gone.
Subject& TheSubject() {
    static Subject* const subject = new Subject;
    return *subject;
}

// The message as the line carries it: behind the subject, when there is one.
std::wstring WithSubject(std::wstring_view message) {
    Subject& subject = TheSubject();
    std::wstring text;
    {
        const std::lock_guard<std::mutex> lock(subject.mutex);
        text = subject.text;
    }
    if (!text.empty()) {
        text.append(L": ");
    }
    text.append(message);
    return text;
}

}  // namespace

std::wstring GetPathInModuleDir(std::wstring_view fileName) {
    const std::optional<std::wstring> modulePath = ModuleFilePath();
    if (!modulePath) {
        return {};
    }
    // A path without a separator is not a full path: the directory it names is a guess.
    const std::size_t cut = modulePath->rfind(HostPathSeparator());
    if (cut == std::wstring::npos) {
        return {};
    }
    std::wstring path = modulePath->substr(0, cut);
    path.push_back(HostPathSeparator());
    path.append(fileName);
    return path;
}

std::wstring ToolLogPath() {
    return HostToolLogPath(GetPathInModuleDir(kToolLogFileName));
}

void WriteToolLog(std::wstring_view message) noexcept {
    // Logging must never end the run it describes: an out-of-memory here costs the line only.
    try {
        const std::wstring path = ToolLogPath();
        // The platform open would stop at a NUL and write to a shorter, wrong name.
        if (path.empty() || path.find(L'\0') != std::wstring::npos) {
            return;
        }
        Clock& clock = ActiveClock();
        const std::wstring line =
            ToolLogLine(clock.LocalTime(clock.NowSeconds()), WithSubject(message));
        // A failed append loses the line by design; nobody is told.
        (void)AppendToFile(path, EncodeCp936(line));
    } catch (...) {
    }
}

void SetToolLogSubject(std::wstring_view newSubject) {
    std::wstring copy(newSubject);
    Subject& subject = TheSubject();
    const std::lock_guard<std::mutex> lock(subject.mutex);
    subject.text.swap(copy);
}

void ToolShowNotice(std::wstring_view message) noexcept {
    try {
        std::wstring text(kNoticePrefix);
        text.append(message);
        DebugOutput(text);
    } catch (...) {
    }
}

}  // namespace fwup
