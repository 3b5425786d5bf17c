#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

#include "app/common/program_services.h"
#include "fakes/instant_clock.h"
#include "log/posix/tool_log_place_choice.h"
#include "log/tool_log.h"
#include "log/tool_log_place.h"

namespace fwup {
namespace {

namespace fs = std::filesystem;

// An installed program lives in a directory the user cannot write; its log must still land
// somewhere the user can read back.
class ToolLogPlaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("fwup-toollog-place-" + std::to_string(std::random_device{}()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "bin");
    }
    void TearDown() override {
        unsetenv("XDG_STATE_HOME");
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    static void SetOrUnset(const char* name, const std::optional<std::string>& value) {
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }

    testing::InstantClock clock_;
    fs::path dir_;
};

TEST_F(ToolLogPlaceTest, BesideTheExecutableWhereWritableElseUnderTheStateDirectory) {
    const std::string root = dir_.string();
    struct Case {
        const char* name;
        const char* executableDir;
        std::optional<std::string> stateHome;
        std::optional<std::string> home;
        std::string expected;  // empty: nowhere to write
    } const cases[] = {
        {"writable directory", "bin", root + "/state", root + "/home", root + "/bin/Tool.log"},
        {"state home", "no-such-dir", root + "/state", root + "/home",
         root + "/state/viruzu-fwup/Tool.log"},
        {"home by default", "no-such-dir", std::nullopt, root + "/home",
         root + "/home/.local/state/viruzu-fwup/Tool.log"},
        {"relative state home is ignored", "no-such-dir", "state", root + "/home",
         root + "/home/.local/state/viruzu-fwup/Tool.log"},
        {"state directory cannot be made", "no-such-dir", "/dev/null/state", std::nullopt, ""},
    };
    const std::optional<std::string> savedHome =
        getenv("HOME") != nullptr ? std::optional<std::string>(getenv("HOME")) : std::nullopt;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetOrUnset("XDG_STATE_HOME", c.stateHome);
        SetOrUnset("HOME", c.home);
        const InstalledServices installed(
            {.modulePath = (dir_ / c.executableDir / "viruzu-fwup-cli").wstring()});
        EXPECT_EQ(ToolLogPath(), fs::path(c.expected).wstring());
        if (!c.expected.empty()) {
            WriteToolLog(L"line");
            std::ifstream in(c.expected, std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
            EXPECT_EQ(text, "[03/09 14:05:07] line\r\r\n");
            fs::remove(c.expected);
        }
    }
    SetOrUnset("HOME", savedHome);
    EXPECT_FALSE(fs::exists(dir_ / "no-such-dir"));
}

fs::perms Mode(const fs::path& path) {
    return fs::symlink_status(path).permissions();
}

// Under umask 0 the state folder once came out 0777, open to every user.
TEST_F(ToolLogPlaceTest, FoldersAreMadeWithTheirOwnModesWhateverTheUmask) {
    const mode_t umaskBefore = ::umask(0);
    setenv("XDG_STATE_HOME", (dir_ / "state" / "deep").c_str(), 1);
    const InstalledServices installed(
        {.modulePath = (dir_ / "no-such-dir" / "viruzu-fwup-cli").wstring()});
    const fs::path folder = dir_ / "state" / "deep" / "viruzu-fwup";
    const fs::perms ownerOnly = fs::perms::owner_all;

    EXPECT_EQ(ToolLogPath(), (folder / "Tool.log").wstring());
    EXPECT_EQ(Mode(dir_ / "state"), ownerOnly);
    EXPECT_EQ(Mode(dir_ / "state" / "deep"), ownerOnly);
    EXPECT_EQ(Mode(folder), ownerOnly);

    // An earlier run's folder that others may write is the user's own again.
    fs::permissions(folder, fs::perms::all);
    EXPECT_EQ(ToolLogPath(), (folder / "Tool.log").wstring());
    EXPECT_EQ(Mode(folder), ownerOnly);

    // A link in the folder's place is not followed.
    fs::remove_all(folder);
    fs::create_directory(dir_ / "elsewhere");
    fs::create_directory_symlink(dir_ / "elsewhere", folder);
    EXPECT_EQ(ToolLogPath(), L"");
    WriteToolLog(L"line");
    EXPECT_TRUE(fs::is_empty(dir_ / "elsewhere"));
    ::umask(umaskBefore);
}

// Root beside a program in another user's folder: that user could swap the log or the history
// for a link at any time, so root's files go to its state folder; and root makes no state folder
// inside another user's.
TEST_F(ToolLogPlaceTest, RootKeepsOutOfAFolderAnotherUserOwns) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root (CI runs as root)";
    }
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(::chown((dir_ / "bin").c_str(), kNobody, kNobody), 0);
    setenv("XDG_STATE_HOME", (dir_ / "state").c_str(), 1);
    const InstalledServices installed({.modulePath = (dir_ / "bin" / "viruzu-fwup-cli").wstring()});

    EXPECT_EQ(ToolLogPath(), (dir_ / "state" / "viruzu-fwup" / "Tool.log").wstring());
    EXPECT_EQ(HostHistoryPath((dir_ / "bin" / "history.jsonl").wstring(), "history.jsonl"),
              (dir_ / "state" / "viruzu-fwup" / "history.jsonl").wstring());

    fs::create_directory(dir_ / "theirs");
    ASSERT_EQ(::chown((dir_ / "theirs").c_str(), kNobody, kNobody), 0);
    setenv("XDG_STATE_HOME", (dir_ / "theirs" / "state").c_str(), 1);
    EXPECT_EQ(ToolLogPath(), L"");
    EXPECT_FALSE(fs::exists(dir_ / "theirs" / "state"));
}

TEST(ToolLogPlaceChoice, AProgramUnderUsrNeverWritesBesideItself) {
    using enum ToolLogPlace;
    struct Case {
        const wchar_t* besideProgram;
        bool asRoot;
        bool writable;
        ToolLogPlace expected;
    } const cases[] = {
        {L"/usr/bin/Tool.log", true, true, kSystemLogFolder},
        {L"/usr/local/bin/Tool.log", true, true, kSystemLogFolder},
        {L"/usr/bin/Tool.log", false, false, kStateFolder},
        {L"/usr/bin/Tool.log", false, true, kStateFolder},
        {L"/usr2/Tool.log", true, true, kBesideProgram},
        {L"/opt/fwup/Tool.log", true, true, kBesideProgram},
        {L"/home/u/fwup/Tool.log", false, true, kBesideProgram},
        {L"/home/u/fwup/Tool.log", false, false, kStateFolder},
        // Unknown, or a folder whose name is not UTF-8.
        {L"", true, false, kStateFolder},
        {L"", false, false, kStateFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.asRoot << c.writable);
        EXPECT_EQ(ChooseToolLogPlace(c.besideProgram, c.asRoot, c.writable), c.expected);
    }
}

}  // namespace
}  // namespace fwup
