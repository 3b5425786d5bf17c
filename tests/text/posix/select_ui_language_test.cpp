#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <optional>
#include <string>

#include "text/lang_text.h"

namespace fwup {
namespace {

// Sets the locale variables for one test and restores them, and UiLangId, afterwards.
class SelectUiLanguageTest : public testing::Test {
  protected:
    static constexpr std::array<const char*, 4> kNames{"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

    void SetUp() override {
        savedLang_ = UiLangId.load();
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            if (const char* value = getenv(kNames[i]); value != nullptr) {
                saved_[i] = value;
            }
            unsetenv(kNames[i]);
        }
    }
    void TearDown() override {
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            if (saved_[i]) {
                setenv(kNames[i], saved_[i]->c_str(), 1);
            } else {
                unsetenv(kNames[i]);
            }
        }
        UiLangId.store(savedLang_);
    }

    std::array<std::optional<std::string>, 4> saved_;
    std::uint16_t savedLang_ = 0;
};

TEST_F(SelectUiLanguageTest, TakesTheMessagesLanguageOfTheEnvironment) {
    UiLangId.store(LANG_ITALIAN);
    SelectUiLanguage();
    EXPECT_EQ(UiLangId.load(), LANG_ENGLISH);

    setenv("LANG", "en_US.UTF-8", 1);
    setenv("LC_MESSAGES", "tr_TR.UTF-8", 1);
    SelectUiLanguage();
    EXPECT_EQ(UiLangId.load(), LANG_TURKISH);
    EXPECT_EQ(GetLangText(TXT_FONT_FACE), L"Times New Roman");

    setenv("LANGUAGE", "ru:en", 1);
    SelectUiLanguage();
    EXPECT_EQ(UiLangId.load(), LANG_RUSSIAN);
}

}  // namespace
}  // namespace fwup
