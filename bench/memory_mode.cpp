// fwup_bench --memory [bytes] [--keep-pages]
//
// Sends the linked-in package 3000 (or its first `bytes` bytes, standing in for a smaller
// package) through SendElf into the in-memory printer, and reports how much the process's peak
// resident memory grew meanwhile. Run in a process of its own: the peak never comes down, so
// nothing else may have touched the package before. --keep-pages streams as DownloadFW alone
// would, keeping every page it has read: the figure to compare with.

#include "memory_mode.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <span>
#include <string>

#include "bench_support.h"
#include "device/usb_open.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_transfer.h"
#include "protocol/package_digest.h"
#include "protocol/result_codes.h"
#include "sink_printer.h"

namespace fwup::bench {
namespace {

constexpr double kTargetGrowthMiB = 32;

struct Memory {
    std::uint64_t peakKiB = 0;  // VmHWM
    std::uint64_t anonKiB = 0;  // RssAnon: heap and stacks
    std::uint64_t fileKiB = 0;  // RssFile: mapped files, the executable's image among them
};

Memory ReadMemory() {
    Memory memory;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        unsigned long long value = 0;
        if (std::sscanf(line.c_str(), "VmHWM: %llu", &value) == 1) {
            memory.peakKiB = value;
        } else if (std::sscanf(line.c_str(), "RssAnon: %llu", &value) == 1) {
            memory.anonKiB = value;
        } else if (std::sscanf(line.c_str(), "RssFile: %llu", &value) == 1) {
            memory.fileKiB = value;
        }
    }
    return memory;
}

// The digest of a prefix of the linked package, for the check SendElf makes. Read in small
// steps, each handed back at once: the process's peak is only ever raised by one step here, so
// the growth measured afterwards is understated by at most that.
PackageDigest PrefixDigest(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kStep = std::size_t{1} << 20;
    PackageHasher hasher;
    for (std::size_t done = 0; done < bytes.size(); done += kStep) {
        const std::span<const std::uint8_t> step =
            bytes.subspan(done, std::min(kStep, bytes.size() - done));
        hasher.Update(step);
        ExecutableResources().Release(step);
    }
    return hasher.Digest();
}

// Resource 3000 cut to its first bytes; the hint to hand pages back goes to the executable's.
class PrefixResources final : public ResourceSource {
  public:
    PrefixResources(std::span<const std::uint8_t> bytes, PackageDigest digest)
        : bytes_(bytes), digest_(digest) {
        SetActiveResourceSource(this);
    }
    ~PrefixResources() override { SetActiveResourceSource(nullptr); }
    PrefixResources(const PrefixResources&) = delete;
    PrefixResources& operator=(const PrefixResources&) = delete;

    std::optional<std::uint32_t> Size(int id) override {
        return id == kPackagePlainId ? std::optional(static_cast<std::uint32_t>(bytes_.size()))
                                     : std::nullopt;
    }
    std::optional<std::span<const std::uint8_t>> Bytes(int id) override {
        return id == kPackagePlainId ? std::optional(bytes_) : std::nullopt;
    }
    std::optional<PackageDigest> RecordedDigest(int id) override {
        return id == kPackagePlainId ? std::optional(digest_) : std::nullopt;
    }
    void Release(std::span<const std::uint8_t> bytes) override {
        ExecutableResources().Release(bytes);
    }

  private:
    std::span<const std::uint8_t> bytes_;
    PackageDigest digest_;
};

int SendKeepingPages(std::span<const std::uint8_t> bytes) {
    UsbChannel channel = OpenUSBDevice(L"USB001");
    if (!channel) {
        return kErrOpenChannel;
    }
    const int result = DownloadFW(channel.get(), bytes.data(), bytes.size());
    CloseUSBDevice(channel);
    return result;
}

}  // namespace

int RunMemoryMode(int argc, char** argv) {
    const std::span<const std::uint8_t> package = LinkedPackage(kPackagePlainId);
    std::span<const std::uint8_t> bytes = package;
    bool keepPages = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep-pages") == 0) {
            keepPages = true;
        } else {
            char* end = nullptr;
            const unsigned long long wanted = std::strtoull(argv[i], &end, 10);
            if (end == argv[i] || *end != '\0' || wanted == 0 || wanted > package.size()) {
                std::fprintf(stderr, "bench --memory: '%s' is no size from 1 to %zu\n", argv[i],
                             package.size());
                return 2;
            }
            bytes = package.first(static_cast<std::size_t>(wanted));
        }
    }

    SilentNotices notices;
    SinkPrinter printer;
    printer.totals.fingerprint = true;
    // The whole package has the digest the build recorded, read without touching its bytes.
    const std::optional<PackageDigest> digest =
        bytes.size() == package.size() ? ExecutableResources().RecordedDigest(kPackagePlainId)
                                       : PrefixDigest(bytes);
    if (!digest) {
        std::fprintf(stderr, "bench --memory: the executable carries no digest of package %d\n",
                     kPackagePlainId);
        return 2;
    }
    PrefixResources resources(bytes, *digest);

    const Memory before = ReadMemory();
    const auto start = std::chrono::steady_clock::now();
    const int result = keepPages ? SendKeepingPages(bytes) : SendElf(kPackagePlainId, L"USB001");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const Memory after = ReadMemory();

    // Checked after measuring: the digest reads every page again.
    const bool whole = result == kResultOk && printer.totals.bytes == bytes.size() &&
                       printer.totals.digest.value() == Fnv1a64Digest(bytes);
    const double growthMiB = (static_cast<double>(after.peakKiB) - before.peakKiB) / 1024.0;
    std::printf(
        "memory: %zu bytes %s in %.2f s, %s; peak resident %llu -> %llu KiB "
        "(anonymous %llu -> %llu, file-backed %llu -> %llu)\n",
        bytes.size(), keepPages ? "streamed keeping its pages" : "sent by SendElf", seconds,
        whole ? "arrived whole" : "DID NOT ARRIVE WHOLE",
        static_cast<unsigned long long>(before.peakKiB),
        static_cast<unsigned long long>(after.peakKiB),
        static_cast<unsigned long long>(before.anonKiB),
        static_cast<unsigned long long>(after.anonKiB),
        static_cast<unsigned long long>(before.fileKiB),
        static_cast<unsigned long long>(after.fileKiB));
    char what[96];
    std::snprintf(what, sizeof what, "peak resident growth, %.1f MB package%s",
                  static_cast<double>(bytes.size()) / 1e6, keepPages ? " (pages kept)" : "");
    PrintFigure({.name = "memory",
                 .what = what,
                 .value = growthMiB,
                 .unit = "MiB",
                 .target = keepPages ? "comparison" : "<= 32 MiB",
                 .met = whole && (keepPages || growthMiB <= kTargetGrowthMiB)});
    return whole ? 0 : 1;
}

}  // namespace fwup::bench
