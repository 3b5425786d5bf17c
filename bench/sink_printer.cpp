#include "sink_printer.h"

#include <algorithm>
#include <cstring>

#include "device/channel.h"

namespace fwup::bench {
namespace {

constexpr wchar_t kInstanceId[] = L"USB\\VID_5A7C&PID_B101\\BENCH0001";
constexpr wchar_t kPath[] =
    L"\\\\?\\usb#vid_5a7c&pid_b101#bench0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

class OnePrinterSet final : public DeviceInterfaceSet {
  public:
    SetLookup DeviceInstanceId(std::uint32_t deviceIndex, std::wstring& instanceId) override {
        if (deviceIndex != 0) {
            return SetLookup::kEnd;
        }
        instanceId = kInstanceId;
        return SetLookup::kFound;
    }
    InterfaceLookup DeviceInterfacePath(std::uint32_t deviceIndex, std::wstring& path) override {
        if (deviceIndex != 0) {
            return InterfaceLookup::kNoInterface;
        }
        path = kPath;
        return InterfaceLookup::kFound;
    }
};

}  // namespace

SinkChannel::SinkChannel(SinkTotals& totals) : totals_(totals), buffer_(kMaxWriteBytes) {}

long SinkChannel::Write(std::span<const std::uint8_t> bytes) {
    const std::size_t take = std::min(bytes.size(), buffer_.size());
    std::memcpy(buffer_.data(), bytes.data(), take);
    totals_.bytes += take;
    if (totals_.fingerprint) {
        totals_.digest.Update(bytes.first(take));
    }
    return static_cast<long>(take);
}

long SinkChannel::Read(std::span<std::uint8_t>) {
    return -1;
}

VendorReply SinkChannel::VendorRequest(std::span<const std::uint8_t, 3>, std::span<std::uint8_t>) {
    return {};
}

SinkPrinter::SinkPrinter() {
    SetActiveInterfaceSource(this);
}

SinkPrinter::~SinkPrinter() {
    SetActiveInterfaceSource(nullptr);
}

std::unique_ptr<DeviceInterfaceSet> SinkPrinter::OpenSet() {
    return std::make_unique<OnePrinterSet>();
}

std::optional<std::uint32_t> SinkPrinter::PortNumber(const std::wstring& path) {
    return path == kPath ? std::optional<std::uint32_t>(1) : std::nullopt;
}

UsbChannel SinkPrinter::OpenInterface(const std::wstring& path) {
    return path == kPath ? OpenChannel() : nullptr;
}

UsbChannel SinkPrinter::OpenChannel() {
    return std::make_unique<SinkChannel>(totals);
}

}  // namespace fwup::bench
