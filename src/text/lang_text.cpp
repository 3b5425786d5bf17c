#include "text/lang_text.h"

#include "text/lang_tables.h"

namespace fwup {

std::atomic<std::uint16_t> UiLangId{0};

std::wstring GetLangText(int id) {
    if (id < 0) {
        return {};
    }
    const auto index = static_cast<std::size_t>(id);
    const std::span<const LangTextEntry> table = LangTableFor(UiLangId.load());
    if (index < table.size()) {
        return std::wstring(table[index].Text);
    }
    // A table that ends before an id English has would leave the user with an empty line (for the
    // success message's first line, without the warning to keep the printer on): English stands in.
    const std::span<const LangTextEntry> english = LangTableFor(LANG_ENGLISH);
    if (index < english.size()) {
        return std::wstring(english[index].Text);
    }
    return {};
}

std::wstring LabelAndValue(int labelId, std::wstring_view value) {
    std::wstring text = GetLangText(labelId);
    if (!text.empty() && text.back() != L'\uFF1A') {
        text += L' ';
    }
    return text.append(value);
}

}  // namespace fwup
