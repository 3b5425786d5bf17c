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
    const std::span<const LangTextEntry> added = AddedTextsFor(UiLangId.load());
    if (index >= kFirstAddedTextId && index - kFirstAddedTextId < added.size()) {
        return std::wstring(added[index - kFirstAddedTextId].Text);
    }
    // Italian, Turkish and Russian end before the success message's first line; an empty line there
    // would leave the user without the warning to keep the printer on, so English stands in.
    const std::span<const LangTextEntry> english = LangTableFor(LANG_ENGLISH);
    if (index < english.size()) {
        return std::wstring(english[index].Text);
    }
    return {};
}

}  // namespace fwup
