#include "text/yes_answer.h"

#include <algorithm>
#include <span>

#include "base/wide_text.h"
#include "text/answer_fold_table.h"
#include "text/lang_text.h"

namespace fwup {
namespace {

// The yes words of each language, folded: the window's Yes button and the short forms a terminal
// user types. Single letters only where that language's No does not begin with them.
std::span<const std::wstring_view> YesWords(std::uint16_t language) {
    switch (language) {
        case LANG_ITALIAN: {
            static constexpr std::wstring_view kWords[] = {L"si"};
            return kWords;
        }
        case LANG_TURKISH: {
            static constexpr std::wstring_view kWords[] = {L"evet", L"e"};
            return kWords;
        }
        case LANG_RUSSIAN: {
            static constexpr std::wstring_view kWords[] = {L"да", L"д"};
            return kWords;
        }
        case LANG_HEBREW: {
            static constexpr std::wstring_view kWords[] = {L"כן"};
            return kWords;
        }
        case LANG_CHINESE: {
            static constexpr std::wstring_view kWords[] = {L"是", L"是的"};
            return kWords;
        }
        case LANG_GERMAN: {
            static constexpr std::wstring_view kWords[] = {L"ja", L"j"};
            return kWords;
        }
        case LANG_FRENCH: {
            static constexpr std::wstring_view kWords[] = {L"oui", L"o"};
            return kWords;
        }
        case LANG_SPANISH: {
            static constexpr std::wstring_view kWords[] = {L"si", L"s"};
            return kWords;
        }
        case LANG_PORTUGUESE: {
            static constexpr std::wstring_view kWords[] = {L"sim", L"s"};
            return kWords;
        }
        case LANG_POLISH: {
            static constexpr std::wstring_view kWords[] = {L"tak", L"t"};
            return kWords;
        }
        default:
            return {};
    }
}

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
    const std::span<const std::wstring_view> words = YesWords(language);
    return std::find(words.begin(), words.end(), answer) != words.end();
}

}  // namespace fwup
