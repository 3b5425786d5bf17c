#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace fwup {

// A firmware package's XXH3-128 in canonical (big-endian) byte order, the order xxhsum prints and
// the build records. It detects damage (a broken download, a bad sector, a copy cut short); it
// is no signature and proves nothing about where a package came from.
inline constexpr std::size_t kPackageDigestBytes = 16;
using PackageDigest = std::array<std::uint8_t, kPackageDigestBytes>;

// The digest of bytes given in pieces, in order; the same as of all of them at once.
class PackageHasher {
  public:
    PackageHasher();
    ~PackageHasher();
    PackageHasher(const PackageHasher&) = delete;
    PackageHasher& operator=(const PackageHasher&) = delete;

    void Update(std::span<const std::uint8_t> bytes);
    PackageDigest Digest() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

PackageDigest DigestOf(std::span<const std::uint8_t> bytes);

// The digest as the build records it: exactly 32 hex digits. None for anything else.
std::optional<PackageDigest> ParseRecordedDigest(std::span<const std::uint8_t> text);

}  // namespace fwup
