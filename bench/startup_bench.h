#pragma once

#include <filesystem>

namespace fwup::bench {

// The probe programs are looked for in `programDir`.
void RegisterStartupBenchmarks(const std::filesystem::path& programDir, int repetitions);

}  // namespace fwup::bench
