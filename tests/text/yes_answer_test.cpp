#include "text/yes_answer.h"

#include <gtest/gtest.h>

#include "base/wide_text.h"
#include "text/lang_text.h"

namespace fwup {
namespace {

TEST(YesAnswer, FoldsCaseAndAccentsInTheUsersLanguage) {
    struct Case {
        const char* typed;
        std::uint16_t language;
        bool yes;
    } const cases[] = {
        {"\xD0\x94\xD0\x90", LANG_RUSSIAN, true},     // ДА
        {"\xD0\xB4\xD0\xB0", LANG_RUSSIAN, true},     // да
        {" \xD0\x94\xD0\xB0\r", LANG_RUSSIAN, true},  // Да
        {"S\xC3\x8C", LANG_ITALIAN, true},            // SÌ
        {"si", LANG_ITALIAN, true},                   //
        {"S\xC3\xAD", LANG_SPANISH, true},            // Sí
        {"Si\xCC\x81", LANG_SPANISH, true},           // Sí with a combining accent
        {"EVET", LANG_TURKISH, true},                 //
        {"S\xC4\xB0M", LANG_PORTUGUESE, true},        // SİM: Turkish dotted capital I
        {"s\xC4\xB1m", LANG_PORTUGUESE, true},        // sım: Turkish dotless i
        {"JA", LANG_GERMAN, true},                    //
        {"Oui", LANG_FRENCH, true},                   //
        {"TAK", LANG_POLISH, true},                   //
        {"\xE6\x98\xAF", LANG_CHINESE, true},         // 是
        {"\xD7\x9B\xD7\x9F", LANG_HEBREW, true},      // כן
        {"\xEF\xBC\xB9\xEF\xBC\xA5\xEF\xBC\xB3", LANG_CHINESE, true},  // fullwidth YES
        {"yes", LANG_RUSSIAN, true},                // y and yes in every language
        {"Y", LANG_ENGLISH, true},                  //
        {"YES", LANG_ENGLISH, true},                //
        {"nope", LANG_ENGLISH, false},              //
        {"", LANG_ENGLISH, false},                  //
        {"   ", LANG_GERMAN, false},                //
        {"\xD0\xB4\xD0\xB0", LANG_ENGLISH, false},  // да, not the user's language
        {"si", LANG_FRENCH, false},                 //
        {"nein", LANG_GERMAN, false},               //
        {"yess", LANG_ENGLISH, false},              //
        {"\xFF\xFE", LANG_ENGLISH, false},          // not UTF-8
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(IsYesAnswer(c.typed, c.language), c.yes);
    }
}

// The button the window shows is a yes word of its own language.
TEST(YesAnswer, TakesEveryLanguagesYesButton) {
    const std::uint16_t saved = UiLangId.load();
    for (const std::uint16_t language :
         {LANG_ENGLISH, LANG_ITALIAN, LANG_TURKISH, LANG_RUSSIAN, LANG_HEBREW, LANG_CHINESE,
          LANG_GERMAN, LANG_FRENCH, LANG_SPANISH, LANG_PORTUGUESE, LANG_POLISH}) {
        UiLangId.store(language);
        SCOPED_TRACE(language);
        EXPECT_TRUE(IsYesAnswer(ToUtf8(GetLangText(TXT_YES)), language));
    }
    UiLangId.store(saved);
}

}  // namespace
}  // namespace fwup
