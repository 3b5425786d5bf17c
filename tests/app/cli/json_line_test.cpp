// The console program's JSON lines, read without running the program: what a strict parser
// reads back depends on every byte.
#include "app/cli/json_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace fwup::cli {
namespace {

struct StringCase {
    std::string utf8;
    std::string json;
};

class JsonStringOf : public ::testing::TestWithParam<StringCase> {};

TEST_P(JsonStringOf, IsExactlyThisLiteral) {
    EXPECT_EQ(JsonString(GetParam().utf8), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Table, JsonStringOf,
    ::testing::Values(StringCase{"", R"("")"}, StringCase{"USB001", R"("USB001")"},
                      StringCase{"say \"hi\"", R"("say \"hi\"")"},
                      StringCase{R"(C:\fw\a.bin)", R"("C:\\fw\\a.bin")"},
                      StringCase{"/ and ' stay", R"("/ and ' stay")"},
                      // Every control character as \u with lower-case digits, DEL too.
                      StringCase{"a\nb\tc\rd", R"("a\u000ab\u0009c\u000dd")"},
                      StringCase{std::string("\0\x01\x1f\x20\x7f", 5),
                                 R"("\u0000\u0001\u001f \u007f")"},
                      // UTF-8 passes as it is.
                      StringCase{"caf\xC3\xA9 \xEF\xBC\x9A \xF0\x9F\x96\xA8",
                                 "\"caf\xC3\xA9 \xEF\xBC\x9A \xF0\x9F\x96\xA8\""},
                      // What is not UTF-8 becomes U+FFFD, sequence by sequence.
                      StringCase{"\xFF\xFE", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
                      StringCase{"a\xC3", "\"a\xEF\xBF\xBD\""},
                      StringCase{"\xC3(", "\"\xEF\xBF\xBD(\""},
                      StringCase{"\xE0\x80\x80z", "\"\xEF\xBF\xBDz\""},
                      StringCase{"\xED\xA0\x80", "\"\xEF\xBF\xBD\""},
                      StringCase{"\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\""},
                      // Raw in JSON, but a line end to some readers or acting on a terminal.
                      StringCase{"\xC2\x85\xC2\x9B\xE2\x80\xA8", R"("\u0085\u009b\u2028")"},
                      StringCase{"\xE2\x80\xA9\xE2\x80\xAE\xE2\x81\xA6", R"("\u2029\u202e\u2066")"},
                      // A replaced byte is never taken for a quote or an escape.
                      StringCase{"\xC3\"", "\"\xEF\xBF\xBD\\\"\""}));

TEST(JsonLine, KeepsTheOrderGivenAndEndsTheLine) {
    EXPECT_EQ(JsonLine().Text(), "{}\n");
    EXPECT_EQ(
        JsonLine()
            .Add("event", "result")
            .Add("code", 0)
            .Add("ok", std::string_view("yes"))
            .AddBool("verified", true)
            .AddBool("declined", false)
            .AddNull("serial")
            .Text(),
        R"({"event": "result", "code": 0, "ok": "yes", "verified": true, "declined": false, "serial": null})"
        "\n");
    // Keys are escaped as values are.
    EXPECT_EQ(JsonLine().Add("a\"\n", 1).Text(), "{\"a\\\"\\u000a\": 1}\n");
}

TEST(JsonLine, NestsObjectsInAnArray) {
    const JsonLine entries[] = {JsonLine().Add("port", "USB001").Add("exitCode", 0), JsonLine()};
    EXPECT_EQ(JsonLine().Add("result", "summary").AddObjects("printers", entries).Text(),
              R"({"result": "summary", "printers": [{"port": "USB001", "exitCode": 0}, {}]})"
              "\n");
    EXPECT_EQ(JsonLine().AddObjects("printers", {}).Text(), R"({"printers": []})"
                                                            "\n");
}

TEST(JsonLine, WritesNumbersInFull) {
    EXPECT_EQ(JsonLine().Add("n", -1).Add("m", 600059).Text(), R"({"n": -1, "m": 600059})"
                                                               "\n");
    EXPECT_EQ(JsonLine()
                  .Add("min", std::numeric_limits<std::int64_t>::min())
                  .Add("max", std::numeric_limits<std::int64_t>::max())
                  .Add("bytes", std::int64_t{190'590'411})
                  .Text(),
              R"({"min": -9223372036854775808, "max": 9223372036854775807, "bytes": 190590411})"
              "\n");
}

TEST(JsonLine, TakesWideTextAsUtf8) {
    EXPECT_EQ(JsonLine().Add("notice", std::wstring_view(L"Tool show NOTICE\uFF1A\"ok\"")).Text(),
              "{\"notice\": \"Tool show NOTICE\xEF\xBC\x9A\\\"ok\\\"\"}\n");
    // A lone surrogate is no character.
    const wchar_t lone[] = {L'a', static_cast<wchar_t>(0xD800), L'\n', 0};
    EXPECT_EQ(JsonLine().Add("t", std::wstring_view(lone)).Text(),
              "{\"t\": \"a\xEF\xBF\xBD\\u000a\"}\n");
}

}  // namespace
}  // namespace fwup::cli
