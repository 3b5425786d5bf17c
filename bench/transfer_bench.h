#pragma once

namespace fwup::bench {

void RegisterTransferBenchmarks(int repetitions);

}  // namespace fwup::bench
