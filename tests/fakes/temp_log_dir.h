#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <optional>

#include "app/common/program_services.h"

namespace fwup::testing {

// A fresh directory that the tool log writes into while this object lives, as if the executable
// sat there. Removed with its contents afterwards.
class TempLogDir {
  public:
    TempLogDir() {
        static std::atomic<int> counter{0};
        dir_ = std::filesystem::temp_directory_path() /
               ("fwup-test-" + std::to_string(ProcessTag()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        installed_.emplace(ProgramServices{.modulePath = (dir_ / "fwup.exe").wstring()});
    }
    ~TempLogDir() {
        installed_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    TempLogDir(const TempLogDir&) = delete;
    TempLogDir& operator=(const TempLogDir&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    std::filesystem::path logPath() const { return dir_ / "Tool.log"; }

    // The log file's bytes, empty when it does not exist.
    std::string LogBytes() const {
        std::ifstream in(logPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The messages of the log's lines, time stamps and line ends taken off.
    std::vector<std::string> Messages() const {
        std::vector<std::string> messages;
        const std::string bytes = LogBytes();
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find("\r\r\n", start)) != std::string::npos;
             start = end + 3) {
            const std::string line = bytes.substr(start, end - start);
            messages.push_back(line.size() >= 17 ? line.substr(17) : line);
        }
        return messages;
    }

  private:
    // Test processes of one binary may run in parallel; a random tag keeps their folders apart.
    static unsigned ProcessTag() {
        static const unsigned tag = std::random_device{}();
        return tag;
    }

    std::filesystem::path dir_;
    std::optional<InstalledServices> installed_;
};

}  // namespace fwup::testing
