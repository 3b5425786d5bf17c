#include "log/cp936.h"

#include <cstdint>

namespace fwup {
namespace {

bool IsHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::wstring ReplaceNonBmpWithQuestionMark(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<std::uint32_t>(text[i]);
        if (unit <= 0xFFFF && !IsHighSurrogate(unit) && !IsLowSurrogate(unit)) {
            out.push_back(text[i]);
            continue;
        }
        if (IsHighSurrogate(unit) && i + 1 < text.size() &&
            IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
            ++i;
        }
        out.push_back(L'?');
    }
    return out;
}

std::string EncodeAsciiOrQuestionMark(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : ReplaceNonBmpWithQuestionMark(text)) {
        const auto unit = static_cast<std::uint32_t>(c);
        out.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return out;
}

}  // namespace fwup
