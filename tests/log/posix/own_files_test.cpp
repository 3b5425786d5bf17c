// The tool's own files (Tool.log, the history and its lock) are regular files: nothing else in
// their place is followed, written or waited on, and root keeps out of other users' files.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>

#include "log/append_file.h"
#include "log/file_lock.h"
#include "log/file_reader.h"

namespace fwup {
namespace {

namespace fs = std::filesystem;

// An account other than root, as Debian has it.
constexpr uid_t kNobody = 65534;

class OwnFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("fwup-own-files-" + std::to_string(std::random_device{}()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ofstream(dir_ / "target") << "target\n";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    static std::string Bytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::string ReadAll(FileReader& reader) {
        std::string all;
        char chunk[64];
        for (std::size_t got; (got = reader.Read(chunk, sizeof chunk)) > 0;) {
            all.append(chunk, got);
        }
        return all;
    }

    fs::path dir_;
};

TEST_F(OwnFilesTest, OnlyARegularFileIsWrittenReadOrLocked) {
    using enum RegularOpen;
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        bool used;
        RegularOpen read;
    } const cases[] = {
        {"absent", [](const fs::path&) {}, true, kAbsent},
        {"regular", [](const fs::path& p) { std::ofstream(p) << "old\n"; }, true, kOpened},
        {"link to a file", [this](const fs::path& p) { fs::create_symlink(dir_ / "target", p); },
         false, kRefused},
        {"dangling link", [this](const fs::path& p) { fs::create_symlink(dir_ / "nowhere", p); },
         false, kRefused},
        {"link to a FIFO",
         [this](const fs::path& p) {
             ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0644), 0);
             fs::create_symlink(dir_ / "pipe", p);
         },
         false, kRefused},
        {"FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }, false,
         kRefused},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, false, kRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir_ / "history.jsonl";
        c.make(path);
        // Before the append: an absent file is only made by it.
        {
            FileReader reader(path.wstring());
            EXPECT_EQ(reader.opened(), c.read);
            if (c.read == kOpened) {
                EXPECT_EQ(ReadAll(reader), "old\n");
            }
        }
        const std::string before = Bytes(dir_ / "target");
        EXPECT_EQ(AppendToFile(path.wstring(), "line\n"), c.used);
        EXPECT_EQ(FileLock((dir_ / "history.jsonl").wstring()).held(), c.used);
        EXPECT_EQ(Bytes(dir_ / "target"), before);
        EXPECT_FALSE(fs::exists(dir_ / "nowhere"));
        if (c.used) {
            EXPECT_TRUE(Bytes(path).ends_with("line\n"));
        }
        fs::remove(path);
        fs::remove(dir_ / "pipe");
    }
}

TEST_F(OwnFilesTest, TheLockIsTheOwnersAlone) {
    const fs::path lock = dir_ / "history.jsonl.lock";
    const mode_t before = ::umask(0);
    const FileLock held(lock.wstring());
    ::umask(before);
    ASSERT_TRUE(held.held());
    EXPECT_EQ(fs::status(lock).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// Root's writes must not be steered by another user: neither through a folder they own (where
// they can swap the file at will) nor through a file they own or linked in root's folder.
TEST_F(OwnFilesTest, RootWritesNoFileOrFolderOfAnotherUser) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root (CI runs as root)";
    }
    fs::create_directory(dir_ / "theirs");
    ASSERT_EQ(::chown((dir_ / "theirs").c_str(), kNobody, kNobody), 0);
    std::ofstream(dir_ / "their-file") << "theirs\n";
    ASSERT_EQ(::chown((dir_ / "their-file").c_str(), kNobody, kNobody), 0);
    fs::create_hard_link(dir_ / "target", dir_ / "second-name");

    for (const fs::path& path :
         {dir_ / "theirs" / "history.jsonl", dir_ / "their-file", dir_ / "second-name"}) {
        SCOPED_TRACE(path.string());
        EXPECT_FALSE(AppendToFile(path.wstring(), "line\n"));
        EXPECT_FALSE(FileLock(path.wstring()).held());
    }
    EXPECT_FALSE(fs::exists(dir_ / "theirs" / "history.jsonl"));
    EXPECT_EQ(Bytes(dir_ / "their-file"), "theirs\n");
    EXPECT_EQ(Bytes(dir_ / "target"), "target\n");
    // Reading is no write: root may read what another user keeps.
    EXPECT_EQ(FileReader((dir_ / "their-file").wstring()).opened(), RegularOpen::kOpened);
}

}  // namespace
}  // namespace fwup
