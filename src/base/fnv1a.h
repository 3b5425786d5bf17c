#pragma once

#include <cstdint>
#include <span>

namespace fwup {

// 64-bit FNV-1a, fed piece by piece: lets the simulated printer fingerprint a 190 MB job without
// keeping it, and lets a test compare that fingerprint with the bytes it sent.
class Fnv1a64 {
  public:
    static constexpr std::uint64_t kOffsetBasis = 14695981039346656037ULL;

    void Update(std::span<const std::uint8_t> bytes);
    void Update(std::uint8_t byte);
    std::uint64_t value() const { return hash_; }

  private:
    std::uint64_t hash_ = kOffsetBasis;
};

std::uint64_t Fnv1a64Digest(std::span<const std::uint8_t> bytes);

}  // namespace fwup
