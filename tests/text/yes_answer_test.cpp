#include "text/yes_answer.h"

#include <gtest/gtest.h>

#include "base/wide_text.h"
#include "text/lang_text.h"
#include "text/languages.h"

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
        {"yes", LANG_RUSSIAN, true},                        // y and yes in every language
        {"Y", LANG_ENGLISH, true},                          //
        {"YES", LANG_ENGLISH, true},                        //
        {"nope", LANG_ENGLISH, false},                      //
        {"", LANG_ENGLISH, false},                          //
        {"   ", LANG_GERMAN, false},                        //
        {"\xD0\xB4\xD0\xB0", LANG_ENGLISH, false},          // да, not the user's language
        {"si", LANG_FRENCH, false},                         //
        {"nein", LANG_GERMAN, false},                       //
        {"yess", LANG_ENGLISH, false},                      //
        {"\xFF\xFE", LANG_ENGLISH, false},                  // not UTF-8
        {"\xE3\x81\xAF\xE3\x81\x84", LANG_JAPANESE, true},  // はい
        {"\xEB\x84\xA4", LANG_KOREAN, true},                // 네
        {"\xEC\x98\x88", LANG_KOREAN, true},                // 예
        {"\xE6\x98\xAF", LANG_CHINESE_TRADITIONAL, true},   // 是
        {"\xD9\x86\xD8\xB9\xD9\x85", LANG_ARABIC, true},    // نعم
        {"\xD9\x86\xD9\x8E\xD8\xB9\xD9\x8E\xD9\x85\xD9\x92", LANG_ARABIC, true},  // نَعَمْ, voweled
        {"\xD0\xA2\xD0\x90\xD0\x9A", LANG_UKRAINIAN, true},                       // ТАК
        {"Ano", LANG_CZECH, true},                                                //
        {"JA", LANG_DUTCH, true},                                                 //
        {"j", LANG_SWEDISH, true},                                                //
        {"Igen", LANG_HUNGARIAN, true},                                           //
        {"\xCE\x9D\xCE\x91\xCE\x99", LANG_GREEK, true},                           // ΝΑΙ
        {"\xCE\xBD\xCE\xB1\xCE\xAF", LANG_GREEK, true},                           // ναί
        {"DA", LANG_ROMANIAN, true},                                              //
        {"C\xC3\xB3", LANG_VIETNAMESE, true},                                     // Có
        {"iya", LANG_INDONESIAN, true},                                           //
        {"n", LANG_HUNGARIAN, false},                                             // nem
        {"\xD0\xBD\xD1\x96", LANG_UKRAINIAN, false},                              // ні
        {"\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88", LANG_JAPANESE, false},           // いいえ
        {"ja", LANG_CZECH, false},                                                //
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(IsYesAnswer(c.typed, c.language), c.yes);
    }
}

// The button the window shows is a yes word of its own language, and its No button is none: a
// single-letter yes word must not be how No begins.
TEST(YesAnswer, TakesEveryLanguagesYesButtonAndNotItsNoButton) {
    const std::uint16_t saved = UiLangId.load();
    for (const Language& language : Languages()) {
        UiLangId.store(language.id);
        SCOPED_TRACE(language.englishName);
        EXPECT_TRUE(IsYesAnswer(ToUtf8(GetLangText(TXT_YES)), language.id));
        const std::wstring no = FoldAnswer(GetLangText(TXT_NO));
        EXPECT_FALSE(IsYesAnswer(ToUtf8(no), language.id));
        EXPECT_FALSE(IsYesAnswer(ToUtf8(no.substr(0, 1)), language.id));
    }
    UiLangId.store(saved);
}

}  // namespace
}  // namespace fwup
