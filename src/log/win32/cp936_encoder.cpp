#include <windows.h>

#include <climits>

#include "log/cp936.h"

namespace fwup {
namespace {

constexpr UINT kCodePageGbk = 936;

}  // namespace

std::string EncodeCp936(std::wstring_view original) {
    // WideCharToMultiByte works in UTF-16 units and would mark each half of a pair.
    const std::wstring text = ReplaceNonBmpWithQuestionMark(original);
    if (text.empty()) {
        return {};
    }
    if (text.size() > static_cast<std::size_t>(INT_MAX / 2)) {
        return EncodeAsciiOrQuestionMark(text);
    }
    // WC_NO_BEST_FIT_CHARS: an unmappable character becomes '?' rather than a look-alike that
    // would read as something the message never said.
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int needed = ::WideCharToMultiByte(kCodePageGbk, WC_NO_BEST_FIT_CHARS, text.data(),
                                             length, nullptr, 0, "?", &usedDefault);
    if (needed <= 0) {
        return EncodeAsciiOrQuestionMark(text);
    }
    std::string out(static_cast<std::size_t>(needed), '\0');
    const int written = ::WideCharToMultiByte(kCodePageGbk, WC_NO_BEST_FIT_CHARS, text.data(),
                                              length, out.data(), needed, "?", &usedDefault);
    if (written <= 0) {
        return EncodeAsciiOrQuestionMark(text);
    }
    out.resize(static_cast<std::size_t>(written));
    return out;
}

}  // namespace fwup
