#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "device/channel.h"

namespace fwup::testing {

// A channel that takes at most `maxTake` bytes per write and runs `beforeWrite` (what a test
// notes, for instance the progress a window shows) before each write.
class TakingChannel final : public Channel {
  public:
    long Write(std::span<const std::uint8_t> bytes) override {
        if (beforeWrite) {
            beforeWrite();
        }
        offered.push_back(bytes.size());
        if (failAtWrite && offered.size() == *failAtWrite) {
            return failResult;
        }
        const std::size_t take = std::min(bytes.size(), maxTake);
        received.insert(received.end(), bytes.begin(), bytes.begin() + static_cast<long>(take));
        taken.push_back(take);
        return static_cast<long>(take);
    }
    long Read(std::span<std::uint8_t>) override { return -1; }
    VendorReply VendorRequest(std::span<const std::uint8_t, 3>, std::span<std::uint8_t>) override {
        return {};
    }
    void Close() override {}

    std::size_t maxTake = kMaxWriteBytes;
    std::optional<std::size_t> failAtWrite;  // 1-based
    long failResult = 0;
    std::function<void()> beforeWrite;
    std::vector<std::size_t> offered;
    std::vector<std::size_t> taken;
    std::vector<std::uint8_t> received;
};

}  // namespace fwup::testing
