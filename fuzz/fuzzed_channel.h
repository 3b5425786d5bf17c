#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <span>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "device/channel.h"
#include "instant_clock.h"

namespace fwup::fuzz {

// Reads an exchange may make before it counts as a hang. The 60-second bounds with the instant
// clock end every exchange in a few thousand reads; a loop that does not end trips this.
inline constexpr long kMaxReadsPerInput = 200'000;

// A channel whose replies are the fuzz input: each read first takes a control byte choosing a
// failure, a zero-byte read or a piece size, then hands out that many input bytes. Writes take a
// control byte too (mostly whole, sometimes short or failing). Every call moves the instant
// clock on by a fuzz-chosen amount, as a real transfer takes time. Once the input is used up,
// reads return 0 bytes, so the exchange must end on its time bound.
//
// FuzzedDataProvider takes integers from the end of the input and byte runs from the front, so
// a recorded reply at the front of a seed is handed out as the reply bytes while the control
// bytes come from its tail (fuzz/make_corpus.py lays seeds out that way).
class FuzzedChannel final : public Channel {
  public:
    FuzzedChannel(FuzzedDataProvider& input, fwup::testing::InstantClock& clock)
        : input_(input), clock_(clock) {}

    long Write(std::span<const std::uint8_t> bytes) override {
        Tick();
        const std::uint8_t control = input_.ConsumeIntegral<std::uint8_t>();
        if (control == 0xFF) {
            return -1;
        }
        if (control == 0xFE) {
            return static_cast<long>(bytes.size() / 2);
        }
        if (control == 0xFD) {
            return static_cast<long>(bytes.size()) + 1;  // a count no write can have made
        }
        return static_cast<long>(bytes.size());
    }

    long Read(std::span<std::uint8_t> buffer) override {
        if (++reads_ > kMaxReadsPerInput) {
            std::fprintf(stderr, "exchange still reading after %ld reads: hang\n", reads_);
            std::abort();
        }
        Tick();
        const std::uint8_t control = input_.ConsumeIntegral<std::uint8_t>();
        switch (control >> 5) {
            case 0:
                return control == 0 ? 0 : -1;
            case 7:
                // A count the platform cannot have read; the channel wrapper must refuse it.
                if (control == 0xFF) {
                    return static_cast<long>(buffer.size()) + 1;
                }
                break;
            default:
                break;
        }
        const std::size_t wanted =
            std::min<std::size_t>(buffer.size(), static_cast<std::size_t>(control & 0x1F) + 1);
        const std::vector<std::uint8_t> piece = input_.ConsumeBytes<std::uint8_t>(wanted);
        std::copy(piece.begin(), piece.end(), buffer.begin());
        return static_cast<long>(piece.size());
    }

    VendorReply VendorRequest(std::span<const std::uint8_t, 3>,
                              std::span<std::uint8_t> output) override {
        const std::vector<std::uint8_t> piece =
            input_.ConsumeBytes<std::uint8_t>(output.size());
        std::copy(piece.begin(), piece.end(), output.begin());
        return {true, piece.size(), kErrorSuccess};
    }

    void Close() override {}

    long reads() const { return reads_; }

  private:
    void Tick() {
        // 0..2550 ms per call: some inputs reach the bound quickly, others read many pieces.
        // Once the input is used up every call takes a second, as a read that times out would,
        // so the exchange reaches its bound in tens of reads rather than thousands.
        if (input_.remaining_bytes() == 0) {
            clock_.Advance(1000);
            return;
        }
        clock_.Advance(static_cast<std::int64_t>(input_.ConsumeIntegral<std::uint8_t>()) * 10);
    }

    FuzzedDataProvider& input_;
    fwup::testing::InstantClock& clock_;
    long reads_ = 0;
};

}  // namespace fwup::fuzz
