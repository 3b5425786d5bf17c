// Device instance IDs and interface paths as the platform reports them: MatchHardID against the
// device table (its notices recorded), and GetUSBPortName through an interface source that
// answers a fuzzed port number, or none.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "device/discovery.h"
#include "device/interface_source.h"
#include "device/port_name.h"
#include "recording_notice_output.h"

namespace {

// Answers every port-number question with the one the input chose.
class FuzzedPortSource final : public fwup::InterfaceSource {
  public:
    explicit FuzzedPortSource(std::optional<std::uint32_t> port) : port_(port) {
        fwup::SetActiveInterfaceSource(this);
    }
    ~FuzzedPortSource() override { fwup::SetActiveInterfaceSource(nullptr); }
    FuzzedPortSource(const FuzzedPortSource&) = delete;
    FuzzedPortSource& operator=(const FuzzedPortSource&) = delete;

    std::unique_ptr<fwup::DeviceInterfaceSet> OpenSet() override { return nullptr; }
    std::optional<std::uint32_t> PortNumber(const std::wstring&) override { return port_; }
    fwup::UsbChannel OpenInterface(const std::wstring&) override { return nullptr; }

  private:
    std::optional<std::uint32_t> port_;
};

// Wide text from the input: mostly ASCII-range units, sometimes any 16-bit or 32-bit value.
std::wstring ConsumeWide(FuzzedDataProvider& input, std::size_t maxChars) {
    std::wstring text;
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, maxChars);
    const int width = input.ConsumeIntegralInRange<int>(0, 2);
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        switch (width) {
            case 0:
                text.push_back(static_cast<wchar_t>(input.ConsumeIntegral<std::uint8_t>()));
                break;
            case 1:
                text.push_back(static_cast<wchar_t>(input.ConsumeIntegral<std::uint16_t>()));
                break;
            default:
                text.push_back(static_cast<wchar_t>(input.ConsumeIntegral<std::uint32_t>()));
                break;
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    fwup::testing::RecordingNoticeOutput notices;

    std::optional<std::uint32_t> port;
    if (input.ConsumeBool()) {
        port = input.ConsumeIntegral<std::uint32_t>();
    }
    FuzzedPortSource source(port);

    const std::wstring instanceId = ConsumeWide(input, 600);
    const std::wstring path = ConsumeWide(input, 600);

    fwup::DeviceEntry entry;
    const bool matched = fwup::MatchHardID(entry, instanceId);
    if (matched != !notices.lines.empty()) {
        std::abort();  // every match is announced, and only a match
    }
    if (entry.ModelName.size() > fwup::kMaxModelNameChars) {
        std::abort();
    }

    const std::optional<std::wstring> name = fwup::GetUSBPortName(path);
    if (name && (!port || name->rfind(L"USB", 0) != 0)) {
        std::abort();
    }
    (void)fwup::ConvertedInterfacePath(path);
    return 0;
}
