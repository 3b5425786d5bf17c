#include "text/yes_answer.h"

#include <algorithm>
#include <span>

#include "base/wide_text.h"
#include "text/answer_fold_table.h"
#include "text/languages.h"

namespace fwup {
namespace {

void AppendFolded(std::wstring& out, wchar_t c) {
    if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n') {
        return;
    }
    const std::span<const AnswerFold> folds = AnswerFolds();
    const auto unit = static_cast<std::uint32_t>(c);
    const auto found = std::lower_bound(
        folds.begin(), folds.end(), unit,
        [](const AnswerFold& fold, std::uint32_t value) { return fold.from < value; });
    if (found == folds.end() || found->from != unit) {
        out += c;
        return;
    }
    for (const std::uint16_t to : found->to) {
        if (to != 0) {
            out += static_cast<wchar_t>(to);
        }
    }
}

}  // namespace

std::wstring FoldAnswer(std::wstring_view text) {
    std::wstring out;
    for (const wchar_t c : text) {
        AppendFolded(out, c);
    }
    return out;
}

bool IsYesAnswer(std::string_view typed, std::uint16_t language) {
    const std::wstring answer = FoldAnswer(FromUtf8(typed));
    if (answer == L"y" || answer == L"yes") {
        return true;
    }
    for (const std::wstring_view word : LanguageFor(language).yesWords) {
        if (!word.empty() && word == answer) {
            return true;
        }
    }
    return false;
}

}  // namespace fwup
