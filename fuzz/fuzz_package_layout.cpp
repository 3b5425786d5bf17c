// Feeds any bytes as a firmware package to CheckPackageLayout and PackagePayloadLength. A package
// that passes must be exactly its announced payload plus the fixed overhead.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "protocol/firmware_package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> package(data, size);
    const fwup::PackageLayoutFault fault = fwup::CheckPackageLayout(package);
    const std::uint32_t length = fwup::PackagePayloadLength(package);
    if (fwup::DescribePackageLayoutFault(fault).empty()) {
        std::abort();
    }
    if (fault == fwup::PackageLayoutFault::kNone &&
        static_cast<std::uint64_t>(length) + fwup::kPackageOverheadBytes != size) {
        std::abort();
    }
    return 0;
}
