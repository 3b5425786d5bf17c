#pragma once

namespace fwup::bench {

// The memory measurement, run instead of the timed benchmarks (see memory_mode.cpp). `argv`
// holds the arguments after --memory.
int RunMemoryMode(int argc, char** argv);

}  // namespace fwup::bench
