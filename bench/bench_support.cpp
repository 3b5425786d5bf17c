#include "bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "protocol/firmware_resource.h"

namespace fwup::bench {

void PrintFigure(const Figure& figure) {
    std::printf("figure  %-9s %-52s %10.3f %-4s target %-10s %s\n", figure.name.c_str(),
                figure.what.c_str(), figure.value, figure.unit.c_str(), figure.target.c_str(),
                figure.met ? "met" : "MISSED");
    std::fflush(stdout);
}

std::span<const std::uint8_t> LinkedPackage(int id) {
    const std::optional<std::span<const std::uint8_t>> bytes = ExecutableResources().Bytes(id);
    if (!bytes || bytes->empty()) {
        std::fprintf(stderr, "bench: the executable carries no package %d\n", id);
        std::exit(2);
    }
    return *bytes;
}

void DropPackagePages() {
    for (int id : {kPackagePlainId, kPackageEncryptedId}) {
        ExecutableResources().Release(LinkedPackage(id));
    }
}

SilentNotices::SilentNotices() {
    SetActiveNoticeOutput(this);
}

SilentNotices::~SilentNotices() {
    SetActiveNoticeOutput(nullptr);
}

}  // namespace fwup::bench
