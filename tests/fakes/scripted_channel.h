#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "device/channel.h"

namespace fwup::testing {

// A channel that plays back scripted answers and records everything written to it.
// Writes are accepted whole unless a scripted result says otherwise; reads with nothing scripted
// return 0 bytes.
class ScriptedChannel final : public Channel {
  public:
    struct ReadStep {
        long result = 0;                  // -1 fails; otherwise the bytes below are returned
        std::vector<std::uint8_t> bytes;  // at most what the caller asks for is handed out
    };

    long Write(std::span<const std::uint8_t> bytes) override {
        writeSizes.push_back(bytes.size());
        long result = static_cast<long>(bytes.size());
        if (!writeResults.empty()) {
            result = writeResults.front();
            writeResults.pop_front();
            if (result < 0) {
                return result;
            }
            result = std::min<long>(result, static_cast<long>(bytes.size()));
        }
        written.insert(written.end(), bytes.begin(), bytes.begin() + result);
        return result;
    }

    long Read(std::span<std::uint8_t> buffer) override {
        ++readCount;
        readSizes.push_back(buffer.size());
        if (onRead) {
            onRead();
        }
        if (reads.empty()) {
            return 0;
        }
        ReadStep& step = reads.front();
        if (step.result < 0) {
            reads.pop_front();
            return -1;
        }
        const std::size_t count = std::min(buffer.size(), step.bytes.size());
        std::copy_n(step.bytes.begin(), count, buffer.begin());
        step.bytes.erase(step.bytes.begin(), step.bytes.begin() + static_cast<long>(count));
        if (step.bytes.empty()) {
            reads.pop_front();
        }
        return static_cast<long>(count);
    }

    VendorReply VendorRequest(std::span<const std::uint8_t, 3> input,
                              std::span<std::uint8_t> output) override {
        vendorInputs.emplace_back(input.begin(), input.end());
        vendorOfferedSizes.push_back(output.size());
        if (vendorReplies.empty()) {
            return VendorReply{false, 0, kErrorGenFailure};
        }
        auto [reply, bytes] = vendorReplies.front();
        vendorReplies.pop_front();
        const std::size_t count = std::min({reply.returned, output.size(), bytes.size()});
        std::copy_n(bytes.begin(), count, output.begin());
        return reply;
    }

    void Close() override { ++closeCount; }

    // Queues a reply to hand out (in as many reads as the caller needs).
    void QueueReply(std::vector<std::uint8_t> bytes) { reads.push_back({0, std::move(bytes)}); }
    void QueueFailedRead() { reads.push_back({-1, {}}); }

    std::deque<long> writeResults;
    std::deque<ReadStep> reads;
    std::deque<std::pair<VendorReply, std::vector<std::uint8_t>>> vendorReplies;
    std::function<void()> onRead;

    std::vector<std::uint8_t> written;
    std::vector<std::size_t> writeSizes;
    std::vector<std::size_t> readSizes;
    std::vector<std::vector<std::uint8_t>> vendorInputs;
    std::vector<std::size_t> vendorOfferedSizes;
    int readCount = 0;
    int closeCount = 0;
};

}  // namespace fwup::testing
