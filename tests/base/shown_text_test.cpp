// What a printer says, shown on a terminal, in a log line or in a JSON line: every character that
// would act there is made visible, everything else passes, and JSON keeps the same value.
#include "base/shown_text.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>

#include "base/wide_text.h"

namespace fwup {
namespace {

struct ShownCase {
    const char* name;
    std::string utf8;   // what the printer sent
    std::string shown;  // on a terminal or in the log
    std::string json;   // LineSafeJson of the JSON string nlohmann writes for it
};

class ShownTextOf : public ::testing::TestWithParam<ShownCase> {};

TEST_P(ShownTextOf, IsVisibleOnOneLine) {
    const ShownCase& c = GetParam();
    EXPECT_EQ(ShownUtf8(c.utf8), c.shown);
    EXPECT_EQ(ToUtf8(ShownText(FromUtf8(c.utf8))), c.shown);
    // Nothing that acts is left: the shown text is printable wherever it lands.
    for (const wchar_t unit : FromUtf8(c.shown)) {
        EXPECT_FALSE(ActsRatherThanShows(static_cast<char32_t>(unit))) << c.name;
    }
}

TEST_P(ShownTextOf, StaysOneJsonLineWithTheSameValue) {
    const ShownCase& c = GetParam();
    const std::string dumped = nlohmann::json(ValidUtf8(c.utf8)).dump();
    const std::string safe = LineSafeJson(dumped);
    EXPECT_EQ(safe, c.json);
    EXPECT_EQ(nlohmann::json::parse(safe).get<std::string>(), ValidUtf8(c.utf8));
    // Already safe text is left as it is.
    EXPECT_EQ(LineSafeJson(safe), safe);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShownTextOf,
    ::testing::Values(
        ShownCase{"Plain", "V2.10.8", "V2.10.8", "\"V2.10.8\""},
        // Backslashes of an instance ID stay as they are: existing output does not change.
        ShownCase{"InstanceId", "USB\\VID_5A7C&PID_B101\\SER0001",
                  "USB\\VID_5A7C&PID_B101\\SER0001", R"("USB\\VID_5A7C&PID_B101\\SER0001")"},
        ShownCase{"LettersOfOtherScripts", "caf\xC3\xA9 \xD7\xA9 \xE4\xB8\xAD \xF0\x9F\x96\xA8",
                  "caf\xC3\xA9 \xD7\xA9 \xE4\xB8\xAD \xF0\x9F\x96\xA8",
                  "\"caf\xC3\xA9 \xD7\xA9 \xE4\xB8\xAD \xF0\x9F\x96\xA8\""},
        ShownCase{"TerminalTitleAndBell", "V2\x1b]0;owned\x07", "V2\\x1b]0;owned\\x07",
                  R"("V2\u001b]0;owned\u0007")"},
        ShownCase{"LineEndsAndTab", "a\tb\nc\rd", "a\\tb\\nc\\rd", R"("a\tb\nc\rd")"},
        ShownCase{"NulAndDel", std::string("a\0b\x7f", 4), "a\\x00b\\x7f", R"("a\u0000b\u007f")"},
        // U+009B is CSI for a terminal that takes C1 controls; U+0085 is a line end for some.
        ShownCase{"C1Controls",
                  "\xC2\x80 \xC2\x85 \xC2\x9B"
                  "31m \xC2\x9F \xC2\xA0",
                  "\\u0080 \\u0085 \\u009b31m \\u009f \xC2\xA0",
                  "\"\\u0080 \\u0085 \\u009b31m \\u009f \xC2\xA0\""},
        ShownCase{"BidiControls",
                  "\xE2\x80\xAA\xE2\x80\xAB\xE2\x80\xAC\xE2\x80\xAD\xE2\x80\xAE|"
                  "\xE2\x81\xA6\xE2\x81\xA7\xE2\x81\xA8\xE2\x81\xA9|"
                  "\xE2\x80\x8E\xE2\x80\x8F\xD8\x9C",
                  "\\u202a\\u202b\\u202c\\u202d\\u202e|\\u2066\\u2067\\u2068\\u2069|"
                  "\\u200e\\u200f\\u061c",
                  "\"\\u202a\\u202b\\u202c\\u202d\\u202e|\\u2066\\u2067\\u2068\\u2069|"
                  "\\u200e\\u200f\\u061c\""},
        ShownCase{"LineAndParagraphSeparators",
                  "a\xE2\x80\xA8"
                  "b\xE2\x80\xA9"
                  "c",
                  "a\\u2028b\\u2029c", R"("a\u2028b\u2029c")"},
        // Their neighbours show as themselves.
        ShownCase{"Neighbours", "\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA\xD8\x9B",
                  "\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA\xD8\x9B",
                  "\"\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA\xD8\x9B\""},
        // What is not UTF-8 (a raw C1 byte among it) becomes U+FFFD and acts no more.
        ShownCase{"NotUtf8", "V\x9B\xFF\xC2", "V\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
                  "\"V\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        ShownCase{"EncodedSurrogate", "\xED\xA0\x80", "\xEF\xBF\xBD", "\"\xEF\xBF\xBD\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShownText, LeavesALoneSurrogateToTheUtf8Form) {
    const wchar_t lone[] = {L'a', static_cast<wchar_t>(0xD800), L'\x1b', 0};
    EXPECT_EQ(ToUtf8(ShownText(lone)), "a\xEF\xBF\xBD\\x1b");
}

// Outside its strings JSON holds nothing that acts; a whole record's line keeps its shape.
TEST(LineSafeJson, ChangesOnlyTheStringsOfAWholeLine) {
    const std::string line =
        "{\"a\": [1, true, null], \"v\": \"x\xE2\x80\xA8y\x7f\", \"k\xC2\x85\": {}}";
    EXPECT_EQ(LineSafeJson(line),
              R"({"a": [1, true, null], "v": "x\u2028y\u007f", "k\u0085": {}})");
    EXPECT_EQ(nlohmann::json::parse(LineSafeJson(line)), nlohmann::json::parse(line));
    // A four-byte form's continuation bytes are no C1 controls; stray bytes pass untouched.
    EXPECT_EQ(LineSafeJson("\"\xF0\x9F\x96\x85\" \x85\x9B\xC2"),
              "\"\xF0\x9F\x96\x85\" \x85\x9B\xC2");
}

}  // namespace
}  // namespace fwup
