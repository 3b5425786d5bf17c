#include "text/ui_language.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "text/lang_text.h"

namespace fwup {
namespace {

struct LocaleCase {
    const char* locale;
    std::uint16_t primaryId;
};

class LocaleLanguage : public testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleLanguage, MapsTheLanguageCode) {
    EXPECT_EQ(PrimaryLanguageOfLocale(GetParam().locale), GetParam().primaryId);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LocaleLanguage,
    testing::Values(LocaleCase{"it_IT.UTF-8", LANG_ITALIAN}, LocaleCase{"it", LANG_ITALIAN},
                    LocaleCase{"it@euro", LANG_ITALIAN}, LocaleCase{"it_CH", LANG_ITALIAN},
                    LocaleCase{"tr", LANG_TURKISH}, LocaleCase{"tr_TR.UTF-8", LANG_TURKISH},
                    LocaleCase{"ru_RU", LANG_RUSSIAN}, LocaleCase{"RU_ru.KOI8-R", LANG_RUSSIAN},
                    LocaleCase{"ru-RU", LANG_RUSSIAN}, LocaleCase{"he_IL", LANG_HEBREW},
                    LocaleCase{"iw_IL.UTF-8", LANG_HEBREW}, LocaleCase{"zh_CN", LANG_CHINESE},
                    LocaleCase{"zh_TW.Big5", LANG_CHINESE}, LocaleCase{"en_US", LANG_ENGLISH},
                    LocaleCase{"C", LANG_ENGLISH}, LocaleCase{"C.UTF-8", LANG_ENGLISH},
                    LocaleCase{"POSIX", LANG_ENGLISH}, LocaleCase{"", LANG_ENGLISH},
                    LocaleCase{":", LANG_ENGLISH}, LocaleCase{"nl_NL", LANG_ENGLISH},
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

TEST(UiLanguage, SubLanguageBitsDoNotChangeThePrimaryLanguage) {
    EXPECT_EQ(PrimaryLanguageId(0x0810), LANG_ITALIAN);  // it-CH
    EXPECT_EQ(PrimaryLanguageId(0x0819), LANG_RUSSIAN);  // ru-MD
    EXPECT_EQ(PrimaryLanguageId(0xFC1F), LANG_TURKISH);
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
