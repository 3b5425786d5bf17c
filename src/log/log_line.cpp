#include "log/log_line.h"

#include "base/wide_text.h"

namespace fwup {
namespace {

// The platform clock never hands out a field outside 0..99; should one do so, printing its full
// value keeps the stamp honest instead of folding it into a plausible-looking one.
std::wstring TwoDigits(int value) {
    if (value < 0) {
        return std::to_wstring(value);
    }
    return DecimalZeroPadded(static_cast<std::uint32_t>(value), 2);
}

}  // namespace

std::wstring FormatTimeStamp(const CivilTime& time) {
    return L"[" + TwoDigits(time.month) + L"/" + TwoDigits(time.day) + L" " + TwoDigits(time.hour) +
           L":" + TwoDigits(time.minute) + L":" + TwoDigits(time.second) + L"] ";
}

std::wstring TranslateLineFeeds(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size() + 4);
    for (wchar_t c : text) {
        if (c == L'\n') {
            out.push_back(L'\r');
        }
        out.push_back(c);
    }
    return out;
}

std::wstring ToolLogLine(const CivilTime& time, std::wstring_view message) {
    std::wstring line = FormatTimeStamp(time);
    line.append(message);
    line.append(L"\r\n");
    return TranslateLineFeeds(line);
}

}  // namespace fwup
