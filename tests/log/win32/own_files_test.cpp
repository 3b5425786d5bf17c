// The tool's own files on Windows (Tool.log and the history beside the program, the history's
// lock): a reparse point in their place is not followed, a folder is not opened, and a reader
// never keeps a writer out.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <random>
#include <string>
#include <thread>

#include "base/win32/unique_win32.h"
#include "log/append_file.h"
#include "log/file_lock.h"
#include "log/file_reader.h"

namespace fwup {
namespace {

namespace fs = std::filesystem;

class OwnFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("fwup-own-files-" + std::to_string(std::random_device{}()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ofstream(dir_ / "target", std::ios::binary) << "target\n";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    static std::string Bytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};

TEST_F(OwnFilesTest, AFolderIsNeitherWrittenNorRead) {
    const fs::path path = dir_ / "history.jsonl";
    fs::create_directory(path);
    EXPECT_FALSE(AppendToFile(path.wstring(), "line\n"));
    EXPECT_FALSE(FileLock(path.wstring()).held());
    EXPECT_NE(FileReader(path.wstring()).opened(), RegularOpen::kOpened);
}

TEST_F(OwnFilesTest, AReaderKeepsNoWriterOut) {
    const fs::path path = dir_ / "history.jsonl";
    ASSERT_TRUE(AppendToFile(path.wstring(), "one\n"));
    FileReader reader(path.wstring());
    ASSERT_EQ(reader.opened(), RegularOpen::kOpened);
    EXPECT_TRUE(AppendToFile(path.wstring(), "two\n"));
    char chunk[16];
    EXPECT_EQ(std::string(chunk, reader.Read(chunk, sizeof chunk)), "one\ntwo\n");
}

// Another process logging holds the file for its line; this one's line waits for it, whole and
// after it, rather than being lost.
TEST_F(OwnFilesTest, AWriterWaitsForTheOneHoldingTheFile) {
    const fs::path path = dir_ / "Tool.log";
    win32::UniqueFileHandle holder(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                 nullptr));
    ASSERT_TRUE(holder.valid());
    std::promise<void> appending;
    std::future<bool> appended = std::async(std::launch::async, [&] {
        appending.set_value();
        return AppendToFile(path.wstring(), "second\n");
    });
    appending.get_future().wait();
    DWORD done = 0;
    ASSERT_TRUE(::WriteFile(holder.get(), "first\n", 6, &done, nullptr));
    holder.reset();
    EXPECT_TRUE(appended.get());
    EXPECT_EQ(Bytes(path), "first\nsecond\n");
}

TEST_F(OwnFilesTest, ALinkInTheFilesPlaceIsNotFollowed) {
    const fs::path link = dir_ / "history.jsonl";
    if (!::CreateSymbolicLinkW(link.c_str(), (dir_ / "target").c_str(),
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
        GTEST_SKIP() << "no symbolic link could be made here: " << ::GetLastError();
    }
    // Wine 8 makes a Unix link and shows it as the file it points to: no reparse point to refuse.
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        GTEST_SKIP() << "the link does not show as a reparse point here (Wine)";
    }
    EXPECT_FALSE(AppendToFile(link.wstring(), "line\n"));
    EXPECT_FALSE(FileLock(link.wstring()).held());
    EXPECT_EQ(FileReader(link.wstring()).opened(), RegularOpen::kRefused);
    EXPECT_EQ(Bytes(dir_ / "target"), "target\n");
}

}  // namespace
}  // namespace fwup
