// Transfer: SendElf of the linked-in package into the in-memory printer, against the plainest
// way to make the same send into the same sink: the same digest check, then a loop of 256 KiB
// writes; in pairs. Both start with none of the package's pages resident, as the program's one
// transfer does, so both pay for reading the package from the page cache (twice: the check hands
// its pages back); SendElf also pays for handing the pages back as it sends.
//
// Check: the digest check alone against the whole SendElf, in pairs, both from no resident pages:
// what share of a send into the in-memory printer the check takes.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <span>
#include <utility>

#include "bench_support.h"
#include "benchmark_names.h"
#include "device/channel.h"
#include "paired_runs.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_transfer.h"
#include "protocol/result_codes.h"
#include "sink_printer.h"
#include "transfer_bench.h"
#include "ui/main_window.h"

namespace fwup::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double TimeSendElf(SinkPrinter& printer, std::size_t size) {
    DropPackagePages();
    printer.totals.bytes = 0;
    const Clock::time_point start = Clock::now();
    const int result = SendElf(kPackagePlainId, L"USB001");
    const double seconds = Seconds(start);
    if (result != kResultOk || printer.totals.bytes != size) {
        std::fprintf(stderr, "bench: SendElf did not deliver the package (%d)\n", result);
        return -1;
    }
    return seconds;
}

double TimeCheck(std::span<const std::uint8_t> package) {
    DropPackagePages();
    const Clock::time_point start = Clock::now();
    const bool intact = PackageMatchesRecordedDigest(kPackagePlainId, package);
    const double seconds = Seconds(start);
    if (!intact) {
        std::fprintf(stderr, "bench: the linked package does not match its recorded digest\n");
        return -1;
    }
    return seconds;
}

double TimePlainLoop(SinkPrinter& printer, std::span<const std::uint8_t> package) {
    DropPackagePages();
    printer.totals.bytes = 0;
    const Clock::time_point start = Clock::now();
    if (!PackageMatchesRecordedDigest(kPackagePlainId, package)) {
        std::fprintf(stderr, "bench: the linked package does not match its recorded digest\n");
        return -1;
    }
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
    const double seconds = Seconds(start);
    if (printer.totals.bytes != package.size()) {
        std::fprintf(stderr, "bench: the plain loop did not deliver the package\n");
        return -1;
    }
    return seconds;
}

void SendElfAgainstPlainLoop(benchmark::State& state) {
    SinkPrinter printer;
    // No window: its reports are the progress benchmark's business.
    CVevaVoRirizevDlg* const window = pMainDlg.exchange(nullptr);
    const std::span<const std::uint8_t> package = LinkedPackage(kPackagePlainId);
    RunPairs(
        state, "SendElf", [&] { return TimeSendElf(printer, package.size()); }, "plain_loop",
        [&] { return TimePlainLoop(printer, package); },
        [](double sendElf, double loop) { return loop / sendElf; });
    pMainDlg.store(window);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * 2 * package.size()));
}

// The most bulk data a USB 2.0 high-speed link carries: 13 packets of 512 bytes per 125 us
// microframe. No printer takes the package faster, so the check's share of a real send is at most
// its share of the in-memory send plus this wire time. Into the in-memory printer alone the send is
// one read of the package, as the check is, so that share is about a half whatever the code does;
// the benchmark's counters still show both times.
constexpr double kUsb2BulkBytesPerSecond = 13.0 * 512 * 8000;

void CheckAgainstSendElf(benchmark::State& state) {
    SinkPrinter printer;
    CVevaVoRirizevDlg* const window = pMainDlg.exchange(nullptr);
    const std::span<const std::uint8_t> package = LinkedPackage(kPackagePlainId);
    // A plain function pointer takes the figure, so the wire time waits in a static.
    static double wireSeconds = 0;
    wireSeconds = static_cast<double>(package.size()) / kUsb2BulkBytesPerSecond;
    RunPairs(
        state, "check", [&] { return TimeCheck(package); }, "SendElf",
        [&] { return TimeSendElf(printer, package.size()); },
        [](double check, double sendElf) { return 100 * check / (sendElf + wireSeconds); });
    pMainDlg.store(window);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * 2 * package.size()));
}

}  // namespace

void RegisterTransferBenchmarks(int repetitions) {
    using Function = void (*)(benchmark::State&);
    const std::pair<const char*, Function> benchmarks[] = {
        {kTransferBenchmark, SendElfAgainstPlainLoop}, {kCheckBenchmark, CheckAgainstSendElf}};
    for (const auto& [name, function] : benchmarks) {
        benchmark::RegisterBenchmark(name, function)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(20)
            ->Repetitions(repetitions);
    }
}

}  // namespace fwup::bench
