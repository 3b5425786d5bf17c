#include "base/fnv1a.h"

namespace fwup {
namespace {

constexpr std::uint64_t kPrime = 1099511628211ULL;

}  // namespace

void Fnv1a64::Update(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t byte : bytes) {
        hash_ = (hash_ ^ byte) * kPrime;
    }
}

void Fnv1a64::Update(std::uint8_t byte) {
    hash_ = (hash_ ^ byte) * kPrime;
}

std::uint64_t Fnv1a64Digest(std::span<const std::uint8_t> bytes) {
    Fnv1a64 hash;
    hash.Update(bytes);
    return hash.value();
}

}  // namespace fwup
