#include <windows.h>

#include <gtest/gtest.h>

#include "text/lang_text.h"

namespace fwup {
namespace {

TEST(SelectUiLanguageWin32, StoresThePrimaryLanguageOfTheUserInterface) {
    const std::uint16_t saved = UiLangId.load();
    SelectUiLanguage();
    EXPECT_EQ(UiLangId.load(), PRIMARYLANGID(GetUserDefaultUILanguage()));
    UiLangId.store(saved);
}

}  // namespace
}  // namespace fwup
