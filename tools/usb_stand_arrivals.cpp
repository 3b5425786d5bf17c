// usb-stand-arrivals COUNT SECONDS: watches for printers plugged in and pulled as the window does
// (the host interface source's arrival watch) and prints "watching" once it watches, then
// "changes N" each time the count moves. Ends 0 when the count reaches COUNT, 1 when SECONDS
// pass first, 2 when the host source gives no watch.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "device/interface_source.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: usb-stand-arrivals COUNT SECONDS\n");
        return 2;
    }
    const std::uint64_t wanted = std::strtoull(argv[1], nullptr, 10);
    const auto limit = std::chrono::seconds(std::strtoul(argv[2], nullptr, 10));
    const std::unique_ptr<fwup::InterfaceSource> source = fwup::MakeHostInterfaceSource();
    std::unique_ptr<fwup::ArrivalWatch> watch = source ? source->WatchArrivals() : nullptr;
    if (!watch) {
        std::printf("no watch\n");
        return 2;
    }
    std::printf("watching\n");
    std::fflush(stdout);
    const auto end = std::chrono::steady_clock::now() + limit;
    std::uint64_t seen = watch->Changes();
    if (seen != 0) {
        std::printf("changes %llu before any\n", static_cast<unsigned long long>(seen));
    }
    while (seen < wanted && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::uint64_t now = watch->Changes();
        if (now != seen) {
            seen = now;
            std::printf("changes %llu\n", static_cast<unsigned long long>(seen));
            std::fflush(stdout);
        }
    }
    return seen >= wanted ? 0 : 1;
}
