#include "text/ui_language.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "text/lang_text.h"
#include "text/languages.h"

namespace fwup {
namespace {

struct LocaleCase {
    const char* locale;
    std::uint16_t primaryId;
};

class LocaleLanguage : public testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleLanguage, MapsTheLanguageCode) {
    EXPECT_EQ(LanguageOfLocale(GetParam().locale), GetParam().primaryId);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LocaleLanguage,
    testing::Values(LocaleCase{"it_IT.UTF-8", LANG_ITALIAN}, LocaleCase{"it", LANG_ITALIAN},
                    LocaleCase{"it@euro", LANG_ITALIAN}, LocaleCase{"it_CH", LANG_ITALIAN},
                    LocaleCase{"tr", LANG_TURKISH}, LocaleCase{"tr_TR.UTF-8", LANG_TURKISH},
                    LocaleCase{"ru_RU", LANG_RUSSIAN}, LocaleCase{"RU_ru.KOI8-R", LANG_RUSSIAN},
                    LocaleCase{"ru-RU", LANG_RUSSIAN}, LocaleCase{"he_IL", LANG_HEBREW},
                    LocaleCase{"iw_IL.UTF-8", LANG_HEBREW}, LocaleCase{"zh_CN", LANG_CHINESE},
                    LocaleCase{"zh_TW.Big5", LANG_CHINESE_TRADITIONAL},
                    LocaleCase{"zh_HK.UTF-8", LANG_CHINESE_TRADITIONAL},
                    LocaleCase{"zh-Hant", LANG_CHINESE_TRADITIONAL},
                    LocaleCase{"zh_Hant_MO", LANG_CHINESE_TRADITIONAL},
                    LocaleCase{"zh-Hans-TW", LANG_CHINESE}, LocaleCase{"zh_SG", LANG_CHINESE},
                    LocaleCase{"zh", LANG_CHINESE}, LocaleCase{"zh_TWN", LANG_CHINESE},
                    LocaleCase{"zh.TW", LANG_CHINESE}, LocaleCase{"zh@TW", LANG_CHINESE},
                    LocaleCase{"ja_JP.eucJP", LANG_JAPANESE}, LocaleCase{"ko_KR", LANG_KOREAN},
                    LocaleCase{"ar_EG.UTF-8", LANG_ARABIC}, LocaleCase{"uk_UA", LANG_UKRAINIAN},
                    LocaleCase{"cs_CZ", LANG_CZECH}, LocaleCase{"nl_BE", LANG_DUTCH},
                    LocaleCase{"sv_FI", LANG_SWEDISH}, LocaleCase{"hu_HU", LANG_HUNGARIAN},
                    LocaleCase{"el_GR", LANG_GREEK}, LocaleCase{"ro_RO", LANG_ROMANIAN},
                    LocaleCase{"vi_VN", LANG_VIETNAMESE}, LocaleCase{"id_ID", LANG_INDONESIAN},
                    LocaleCase{"in_ID", LANG_INDONESIAN}, LocaleCase{"en_US", LANG_ENGLISH},
                    LocaleCase{"C", LANG_ENGLISH}, LocaleCase{"C.UTF-8", LANG_ENGLISH},
                    LocaleCase{"POSIX", LANG_ENGLISH}, LocaleCase{"", LANG_ENGLISH},
                    LocaleCase{":", LANG_ENGLISH}, LocaleCase{"fi_FI", LANG_ENGLISH},
                    LocaleCase{"de_AT.UTF-8", LANG_GERMAN}, LocaleCase{"fr_CA", LANG_FRENCH},
                    LocaleCase{"es_MX", LANG_SPANISH}, LocaleCase{"pt_BR", LANG_PORTUGUESE},
                    LocaleCase{"pl_PL.UTF-8", LANG_POLISH},
                    // A code merely starting like a known one is another language.
                    LocaleCase{"ita", LANG_ENGLISH}, LocaleCase{"i", LANG_ENGLISH},
                    LocaleCase{"_IT", LANG_ENGLISH}),
    [](const testing::TestParamInfo<LocaleCase>& info) {
        std::string name = "Case" + std::to_string(info.index);
        for (const char* c = info.param.locale; *c != '\0'; ++c) {
            if ((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9')) {
                name += *c;
            }
        }
        return name;
    });

// Windows language identifiers: the sub-language bits choose only between the two Chinese rows.
TEST(UiLanguage, WindowsLanguageIdsPickTheirRow) {
    const std::pair<std::uint16_t, std::uint16_t> cases[] = {
        {0x0810, LANG_ITALIAN},
        {0x0819, LANG_RUSSIAN},  // it-CH, ru-MD
        {0xFC1F, LANG_TURKISH},
        {0x0804, LANG_CHINESE},  // zh-CN
        {0x1004, LANG_CHINESE},
        {0x0004, LANG_CHINESE},  // zh-SG, zh-Hans
        {0x0404, LANG_CHINESE_TRADITIONAL},
        {0x0C04, LANG_CHINESE_TRADITIONAL},  // zh-TW, zh-HK
        {0x1404, LANG_CHINESE_TRADITIONAL},
        {0x7C04, LANG_CHINESE_TRADITIONAL},  // zh-MO, zh-Hant
        {0x0411, LANG_JAPANESE},
        {0x0412, LANG_KOREAN},
        {0x3801, LANG_ARABIC},
        {0x0422, LANG_UKRAINIAN},  // ar-AE
        {0x0413, LANG_DUTCH},
        {0x081D, LANG_SWEDISH},  // sv-FI
        {0x042A, LANG_VIETNAMESE},
        {0x0421, LANG_INDONESIAN},
        {0x040B, 0x0B},  // Finnish: no row, so English's texts under its own id
    };
    for (const auto& [windowsId, language] : cases) {
        EXPECT_EQ(LanguageOfWindowsLangId(windowsId), language) << std::hex << windowsId;
    }
}

struct EnvironmentCase {
    const char* name;
    std::map<std::string, std::string> variables;
    const char* locale;
};

class LocaleFromEnvironment : public testing::TestWithParam<EnvironmentCase> {};

TEST_P(LocaleFromEnvironment, FollowsGettextPrecedence) {
    const auto& variables = GetParam().variables;
    const std::string locale = UserLocaleName([&variables](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    });
    EXPECT_EQ(locale, GetParam().locale);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, LocaleFromEnvironment,
    testing::Values(
        EnvironmentCase{"NothingSet", {}, ""},
        EnvironmentCase{"LangOnly", {{"LANG", "tr_TR.UTF-8"}}, "tr_TR.UTF-8"},
        EnvironmentCase{"MessagesOverLang",
                        {{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "ru_RU.UTF-8"}},
                        "ru_RU.UTF-8"},
        EnvironmentCase{"AllOverMessages",
                        {{"LANG", "en_US"}, {"LC_MESSAGES", "ru_RU"}, {"LC_ALL", "it_IT"}},
                        "it_IT"},
        EnvironmentCase{"LanguageListFirst",
                        {{"LANGUAGE", "ru:it:en"}, {"LC_ALL", "tr_TR"}, {"LANG", "en_US"}},
                        "ru"},
        EnvironmentCase{"EmptyValuesAreSkipped",
                        {{"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "he_IL"}},
                        "he_IL"},
        EnvironmentCase{"EmptyListEntriesAreSkipped", {{"LANGUAGE", "::it_IT:"}}, "it_IT"},
        EnvironmentCase{
            "ListOfNothingFallsThrough", {{"LANGUAGE", ":"}, {"LANG", "zh_CN"}}, "zh_CN"}),
    [](const testing::TestParamInfo<EnvironmentCase>& info) { return info.param.name; });

}  // namespace
}  // namespace fwup
