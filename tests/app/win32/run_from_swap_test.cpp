#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace fwup {
namespace {

// The package is sent straight from the program's image: started from a share or a stick that
// goes away, the image must have been copied to the swap file first.
TEST(ProgramImage, RunsFromSwapWhenStartedFromANetworkOrRemovableDrive) {
    std::ifstream in(FWUP_WIN32_PROGRAM, std::ios::binary);
    ASSERT_TRUE(in) << "cannot read " << FWUP_WIN32_PROGRAM;
    std::vector<char> head(4096);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    ASSERT_GE(in.gcount(), static_cast<std::streamsize>(sizeof(IMAGE_DOS_HEADER)));

    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, head.data(), sizeof(dos));
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    const auto at = static_cast<std::size_t>(dos.e_lfanew);
    ASSERT_LE(at + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER),
              static_cast<std::size_t>(in.gcount()));
    DWORD signature = 0;
    std::memcpy(&signature, head.data() + at, sizeof(signature));
    ASSERT_EQ(signature, IMAGE_NT_SIGNATURE);
    IMAGE_FILE_HEADER file;
    std::memcpy(&file, head.data() + at + sizeof(signature), sizeof(file));

    EXPECT_NE(file.Characteristics & IMAGE_FILE_NET_RUN_FROM_SWAP, 0);
    EXPECT_NE(file.Characteristics & IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP, 0);
    EXPECT_NE(file.Characteristics & IMAGE_FILE_EXECUTABLE_IMAGE, 0);
}

}  // namespace
}  // namespace fwup
