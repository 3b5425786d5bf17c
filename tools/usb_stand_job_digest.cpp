// usb-stand-job-digest FILE: prints FILE's size and FNV-1a digest as the printer gadget reports a
// job it received ("SIZE DIGEST", the digest in 16 hex digits). The USB stand's guest holds a
// package's line against the gadget's, so both come from the simulated printer's one hash.

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <span>

#include "base/fnv1a.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: usb-stand-job-digest FILE\n");
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "rb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    fwup::Fnv1a64 hash;
    std::uint64_t size = 0;
    std::uint8_t buffer[64 * 1024];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        hash.Update(std::span<const std::uint8_t>(buffer, read));
        size += read;
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        std::fprintf(stderr, "%s: read error\n", argv[1]);
        return 1;
    }
    std::printf("%" PRIu64 " %016" PRIx64 "\n", size, hash.value());
    return 0;
}
