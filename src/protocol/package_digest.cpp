#include "protocol/package_digest.h"

#include "base/hex_digit.h"

#include <algorithm>
#include <iterator>

// Header-only: nothing of xxHash is linked, so every build (MinGW included) hashes with the same
// code, the release whose xxhsum records the digests.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace fwup {

struct PackageHasher::State {
    XXH3_state_t xxh;
};

PackageHasher::PackageHasher() : state_(std::make_unique<State>()) {
    XXH3_INITSTATE(&state_->xxh);
    (void)XXH3_128bits_reset(&state_->xxh);
}

PackageHasher::~PackageHasher() = default;

void PackageHasher::Update(std::span<const std::uint8_t> bytes) {
    if (!bytes.empty()) {
        (void)XXH3_128bits_update(&state_->xxh, bytes.data(), bytes.size());
    }
}

PackageDigest PackageHasher::Digest() const {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(&state_->xxh));
    PackageDigest digest;
    static_assert(sizeof canonical.digest == kPackageDigestBytes);
    std::copy(std::begin(canonical.digest), std::end(canonical.digest), digest.begin());
    return digest;
}

PackageDigest DigestOf(std::span<const std::uint8_t> bytes) {
    PackageHasher hasher;
    hasher.Update(bytes);
    return hasher.Digest();
}

std::optional<PackageDigest> ParseRecordedDigest(std::span<const std::uint8_t> text) {
    if (text.size() != 2 * kPackageDigestBytes) {
        return std::nullopt;
    }
    const auto nibble = [](std::uint8_t c) { return HexDigitValue(static_cast<char>(c)); };
    PackageDigest digest;
    for (std::size_t i = 0; i < digest.size(); ++i) {
        const int high = nibble(text[2 * i]);
        const int low = nibble(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        digest[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return digest;
}

}  // namespace fwup
