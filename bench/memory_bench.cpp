// Sends an embedded package of the shipped size (190,590,411 bytes) to a simulated printer
// through SendElf, and reports how much the process's peak resident memory grew, against the
// package's size. The package is sent from the executable's mapped image, so the growth should
// be the package's pages and little else: the target is below 1.1 times its size.
//
//   fwup_memory_bench               SendElf as the program runs it
//   fwup_memory_bench --two-copies  for comparison: a zero-filled heap buffer with the resource
//                                   copied in, and a private copy of that sent, as a plain
//                                   load-then-send design would do it
//
// Exit status 0 when the package arrived whole and the growth met the target.

#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/interface_source.h"
#include "device/sim/fnv1a.h"
#include "device/sim/scenario_parser.h"
#include "device/sim/sim_interface_source.h"
#include "device/usb_open.h"
#include "protocol/firmware_package.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_transfer.h"
#include "protocol/result_codes.h"

namespace {

using namespace fwup;

constexpr std::uint64_t kExpectedBytes = FWUP_BENCH_PACKAGE_BYTES;
constexpr double kTargetRatio = 1.1;

struct Memory {
    std::uint64_t hwmKiB = 0;     // VmHWM: peak resident
    std::uint64_t rssKiB = 0;     // VmRSS
    std::uint64_t anonKiB = 0;    // RssAnon: heap and stacks
    std::uint64_t fileKiB = 0;    // RssFile: mapped files, the executable's image among them
    std::uint64_t maxRssKiB = 0;  // getrusage's ru_maxrss
};

Memory ReadMemory() {
    Memory memory;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        unsigned long long value = 0;
        if (std::sscanf(line.c_str(), "VmHWM: %llu", &value) == 1) {
            memory.hwmKiB = value;
        } else if (std::sscanf(line.c_str(), "VmRSS: %llu", &value) == 1) {
            memory.rssKiB = value;
        } else if (std::sscanf(line.c_str(), "RssAnon: %llu", &value) == 1) {
            memory.anonKiB = value;
        } else if (std::sscanf(line.c_str(), "RssFile: %llu", &value) == 1) {
            memory.fileKiB = value;
        }
    }
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0) {
        memory.maxRssKiB = static_cast<std::uint64_t>(usage.ru_maxrss);
    }
    return memory;
}

void Print(const char* label, const Memory& m) {
    std::printf(
        "%-8s VmHWM %8llu KiB  VmRSS %8llu KiB  RssAnon %8llu KiB  RssFile %8llu KiB  "
        "ru_maxrss %8llu KiB\n",
        label, static_cast<unsigned long long>(m.hwmKiB), static_cast<unsigned long long>(m.rssKiB),
        static_cast<unsigned long long>(m.anonKiB), static_cast<unsigned long long>(m.fileKiB),
        static_cast<unsigned long long>(m.maxRssKiB));
}

// The comparison design: both buffers live for the whole transfer.
int SendWithTwoCopies(std::span<const std::uint8_t> package) {
    std::vector<std::uint8_t> loaded(package.size());  // zero-filled, as from the process heap
    std::memcpy(loaded.data(), package.data(), package.size());
    std::vector<std::uint8_t> working(loaded);
    UsbChannel channel = OpenUSBDevice(L"USB001");
    if (!channel) {
        return kErrOpenChannel;
    }
    const int result = DownloadFW(channel.get(), working.data(), working.size());
    CloseUSBDevice(channel);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const bool twoCopies = argc > 1 && std::strcmp(argv[1], "--two-copies") == 0;

    Scenario scenario;
    std::string error;
    if (!ParseScenario(R"({"printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001",
                                         "portNumber": 1}]})",
                       scenario, error)) {
        std::fprintf(stderr, "scenario: %s\n", error.c_str());
        return 2;
    }
    SimInterfaceSource source(std::move(scenario));
    SetActiveInterfaceSource(&source);

    std::span<const std::uint8_t> package;
    std::uint32_t size = 0;
    if (LoadBinaryResource(&package, &size, kPackagePlainId) != 1 || size != kExpectedBytes) {
        std::fprintf(stderr, "resource 3000 is missing or not %llu bytes\n",
                     static_cast<unsigned long long>(kExpectedBytes));
        return 2;
    }

    const Memory before = ReadMemory();
    const auto start = std::chrono::steady_clock::now();
    const int result = twoCopies ? SendWithTwoCopies(package) : SendElf(kPackagePlainId, L"USB001");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const Memory after = ReadMemory();
    std::fputc('\n', stderr);  // the notice line carries no line end of its own

    // Checked after measuring: the digest reads the same mapped pages, which are already in.
    const std::vector<ReceivedJob> jobs = source.printer(0)->Jobs();
    const bool whole = result == kResultOk && jobs.size() == 1 &&
                       jobs[0].kind == JobKind::kFirmware && jobs[0].byteCount == package.size() &&
                       jobs[0].digest == Fnv1a64Digest(package) &&
                       CheckPackageLayout(package) == PackageLayoutFault::kNone;
    SetActiveInterfaceSource(nullptr);

    const double packageKiB = static_cast<double>(package.size()) / 1024.0;
    const double growthKiB = static_cast<double>(after.hwmKiB) - static_cast<double>(before.hwmKiB);
    const double ratio = growthKiB / packageKiB;
    std::printf("mode     %s\n", twoCopies ? "two heap copies (comparison)" : "SendElf, no copy");
    std::printf("package  %zu bytes (%.0f KiB), result %d, %s\n", package.size(), packageKiB,
                result, whole ? "arrived whole and in order" : "DID NOT ARRIVE WHOLE");
    Print("before", before);
    Print("after", after);
    std::printf("growth   %.0f KiB peak resident = %.3f x the package (target < %.1f)\n", growthKiB,
                ratio, kTargetRatio);
    std::printf("time     %.2f s, %.0f MB/s into the simulated printer\n", seconds,
                static_cast<double>(package.size()) / 1e6 / seconds);
    return whole && ratio < kTargetRatio ? 0 : 1;
}
