// The fuzz targets carry no firmware. The programs' service installer, which the tests' fakes
// install themselves with, reaches the linked-in resources' default; these empty packages stand
// in for the ones the main build embeds, so nothing a target reads comes from them.

#include <cstdint>

extern "C" {
extern const std::uint8_t fwup_package_3000[] = {0};
extern const std::uint64_t fwup_package_3000_size = 0;
extern const std::uint8_t fwup_package_3000_digest[] = {0};
extern const std::uint64_t fwup_package_3000_digest_size = 0;
extern const std::uint8_t fwup_package_3001[] = {0};
extern const std::uint64_t fwup_package_3001_size = 0;
extern const std::uint8_t fwup_package_3001_digest[] = {0};
extern const std::uint64_t fwup_package_3001_digest_size = 0;
}
