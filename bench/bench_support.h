#pragma once

// What the benchmarks share: the figures they print, the package they send, quiet notices.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "log/notice_output.h"

namespace fwup::bench {

// One measured figure against its target, printed as a line starting "figure" that
// bench/run.sh gathers into its summary.
struct Figure {
    std::string name;
    std::string what;
    double value = 0;
    std::string unit;
    std::string target;
    bool met = false;
};
void PrintFigure(const Figure& figure);

// The linked-in package `id`, straight from the executable; ends the process when it is missing.
std::span<const std::uint8_t> LinkedPackage(int id);

// Gives every page of the linked-in packages back, so a measurement starts with none resident,
// as the program's one transfer does.
void DropPackagePages();

// Notices ("loading ELF...") go nowhere while it lives: a benchmark sends hundreds of packages.
class SilentNotices final : public NoticeOutput {
  public:
    SilentNotices();
    ~SilentNotices() override;
    SilentNotices(const SilentNotices&) = delete;
    SilentNotices& operator=(const SilentNotices&) = delete;
    void Write(std::wstring_view) override {}
};

}  // namespace fwup::bench
