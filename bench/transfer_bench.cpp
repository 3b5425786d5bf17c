// Transfer: SendElf of the linked-in package into the in-memory printer, against the plainest
// way to move the same bytes into the same sink, a loop of 256 KiB writes. Both start with none
// of the package's pages resident, as the program's one transfer does, so both pay for reading
// the package from the page cache; SendElf also pays for handing the pages back.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "bench_support.h"
#include "benchmark_names.h"
#include "device/channel.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_transfer.h"
#include "protocol/result_codes.h"
#include "sink_printer.h"
#include "transfer_bench.h"
#include "ui/main_window.h"

namespace fwup::bench {
namespace {

using Clock = std::chrono::steady_clock;

void SendElfIntoSink(benchmark::State& state) {
    SinkPrinter printer;
    // No window: its reports are the progress benchmark's business.
    CVevaVoRirizevDlg* const window = pMainDlg.exchange(nullptr);
    const std::size_t size = LinkedPackage(kPackagePlainId).size();
    for (auto _ : state) {
        DropPackagePages();
        printer.totals.bytes = 0;
        const Clock::time_point start = Clock::now();
        const int result = SendElf(kPackagePlainId, L"USB001");
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (result != kResultOk || printer.totals.bytes != size) {
            state.SkipWithError("SendElf did not deliver the package");
            break;
        }
    }
    pMainDlg.store(window);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

void PlainLoopIntoSink(benchmark::State& state) {
    SinkPrinter printer;
    const std::span<const std::uint8_t> package = LinkedPackage(kPackagePlainId);
    for (auto _ : state) {
        DropPackagePages();
        printer.totals.bytes = 0;
        const Clock::time_point start = Clock::now();
        UsbChannel channel = printer.OpenChannel();
        for (std::size_t sent = 0; sent < package.size();) {
            const std::size_t chunk = std::min(package.size() - sent, kMaxWriteBytes);
            const long written = channel->Write(package.subspan(sent, chunk));
            if (written <= 0) {
                break;
            }
            sent += static_cast<std::size_t>(written);
        }
        channel.reset();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (printer.totals.bytes != package.size()) {
            state.SkipWithError("the loop did not deliver the package");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * package.size()));
}

}  // namespace

void RegisterTransferBenchmarks(int repetitions) {
    for (auto [name, function] : {std::pair{kTransferSendElf, &SendElfIntoSink},
                                  std::pair{kTransferPlainLoop, &PlainLoopIntoSink}}) {
        benchmark::RegisterBenchmark(name, function)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10)
            ->Repetitions(repetitions);
    }
}

}  // namespace fwup::bench
