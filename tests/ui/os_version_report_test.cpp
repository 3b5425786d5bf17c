#include "ui/os_version_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/recording_notice_output.h"

namespace fwup {
namespace {

struct VersionCase {
    const char* name;
    OsVersionFacts facts;
    int code;
};

class ClassifyOsVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ClassifyOsVersionTest, GivesTheReportCode) {
    EXPECT_EQ(ClassifyOsVersion(GetParam().facts), GetParam().code);
}

constexpr OsVersionFacts Nt(std::uint32_t major, std::uint32_t minor, std::uint8_t product,
                            bool extended = true, bool serverR2 = false) {
    return {extended, 2, major, minor, product, serverR2};
}

// One row per branch of the classification.
INSTANTIATE_TEST_SUITE_P(
    Versions, ClassifyOsVersionTest,
    ::testing::Values(
        VersionCase{"NotNt", {true, 1, 10, 0, 1, false}, 0}, VersionCase{"Xp", Nt(5, 1, 1), 7},
        VersionCase{"XpX64", Nt(5, 2, 1), 14},
        VersionCase{"Server2003R2", Nt(5, 2, 3, true, true), 12},
        VersionCase{"Server2003", Nt(5, 2, 3), 8},
        // Without the extended record R2 cannot be told apart.
        VersionCase{"Server2003Basic", Nt(5, 2, 0, false, true), 8},
        VersionCase{"Vista", Nt(6, 0, 1), 9}, VersionCase{"VistaBasic", Nt(6, 0, 0, false), 0},
        VersionCase{"Seven", Nt(6, 1, 1), 11}, VersionCase{"SevenBasic", Nt(6, 1, 1, false), 13},
        VersionCase{"Server2012", Nt(6, 2, 3), 16}, VersionCase{"EightOne", Nt(6, 3, 1), 17},
        VersionCase{"Ten", Nt(10, 0, 1), 19}, VersionCase{"Server2016", Nt(10, 0, 3), 20},
        VersionCase{"Eleven", Nt(11, 0, 1), 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportOsVersionTest, WritesTheReportAndTheWindows10Verdict) {
    testing::RecordingNoticeOutput notices;
    EXPECT_EQ(ReportOsVersion([] { return std::optional(Nt(10, 0, 1)); }), -1);
    EXPECT_EQ(notices.lines,
              (std::vector<std::wstring>{
                  L" ======= 系统ID =======",
                  L" ==== 返回：19 ,  OS PlatformID：2, OS MaxID：10 , OS MinID：0 =====",
                  L"Tool show NOTICE：操作系统是:Win10\r\n"}));

    notices.lines.clear();
    ReportOsVersion([] { return std::optional(Nt(6, 1, 1)); });
    ASSERT_EQ(notices.lines.size(), 3u);
    EXPECT_EQ(notices.lines[2], L"Tool show NOTICE：操作系统是:非Win10系统\r\n");
}

TEST(ReportOsVersionTest, UnreadableVersionWritesNothing) {
    testing::RecordingNoticeOutput notices;
    EXPECT_EQ(ReportOsVersion([] { return std::optional<OsVersionFacts>(); }), -1);
    EXPECT_EQ(ReportOsVersion(OsVersionQuery()), -1);
    EXPECT_TRUE(notices.lines.empty());
}

}  // namespace
}  // namespace fwup
