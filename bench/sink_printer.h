#pragma once

// An in-memory printer for the benchmarks: one supported printer on USB001 whose channel takes
// every write whole into a 256 KiB buffer, as a driver copies a write into its transfer buffer,
// and counts (and optionally fingerprints) what it took. Installed as the active interface
// source while it lives.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/fnv1a.h"
#include "device/interface_source.h"

namespace fwup::bench {

struct SinkTotals {
    std::uint64_t bytes = 0;
    bool fingerprint = false;  // costs a pass over every byte; off for timing
    Fnv1a64 digest;
};

class SinkChannel final : public Channel {
  public:
    explicit SinkChannel(SinkTotals& totals);
    long Write(std::span<const std::uint8_t> bytes) override;
    long Read(std::span<std::uint8_t> buffer) override;
    VendorReply VendorRequest(std::span<const std::uint8_t, 3> input,
                              std::span<std::uint8_t> output) override;
    void Close() override {}

  private:
    SinkTotals& totals_;
    std::vector<std::uint8_t> buffer_;
};

class SinkPrinter final : public InterfaceSource {
  public:
    SinkPrinter();
    ~SinkPrinter() override;
    SinkPrinter(const SinkPrinter&) = delete;
    SinkPrinter& operator=(const SinkPrinter&) = delete;

    std::unique_ptr<DeviceInterfaceSet> OpenSet() override;
    std::optional<std::uint32_t> PortNumber(const std::wstring& path) override;
    UsbChannel OpenInterface(const std::wstring& path) override;
    // The printer's channel, without the device walk.
    UsbChannel OpenChannel();

    SinkTotals totals;
};

}  // namespace fwup::bench
