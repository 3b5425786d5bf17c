#include "device/libusb/channel_setting.h"

namespace fwup::libusb {
namespace {

constexpr std::uint8_t kDirectionIn = 0x80;
constexpr std::uint8_t kTransferTypeMask = 0x03;
constexpr std::uint8_t kTransferTypeBulk = 0x02;
constexpr std::uint16_t kPacketSizeMask = 0x07FF;
constexpr std::uint16_t kLargestBulkPacket = 1024;
constexpr std::uint16_t kAssumedPacket = 512;

std::optional<ChannelSetting> SettingOf(const UsbAltSetting& alt) {
    if (alt.interfaceClass != kPrinterClass || alt.interfaceSubClass != kPrinterSubClass ||
        (alt.interfaceProtocol != kUnidirectionalProtocol &&
         alt.interfaceProtocol != kBidirectionalProtocol)) {
        return std::nullopt;
    }
    ChannelSetting setting;
    setting.interfaceNumber = alt.interfaceNumber;
    setting.alternateSetting = alt.alternateSetting;
    bool haveOut = false;
    for (const UsbEndpoint& endpoint : alt.endpoints) {
        if ((endpoint.attributes & kTransferTypeMask) != kTransferTypeBulk) {
            continue;
        }
        if ((endpoint.address & kDirectionIn) == 0) {
            if (!haveOut) {
                setting.outEndpoint = endpoint.address;
                haveOut = true;
            }
        } else if (!setting.inEndpoint) {
            setting.inEndpoint = endpoint.address;
            const std::uint16_t packet = endpoint.maxPacketSize & kPacketSizeMask;
            setting.inPacketSize =
                packet >= 1 && packet <= kLargestBulkPacket ? packet : kAssumedPacket;
        }
    }
    if (!haveOut) {
        return std::nullopt;
    }
    // IN endpoints of a unidirectional setting are no promise of replies.
    if (alt.interfaceProtocol != kBidirectionalProtocol) {
        setting.inEndpoint.reset();
        setting.inPacketSize = 0;
    }
    return setting;
}

}  // namespace

std::optional<ChannelSetting> ChooseChannelSetting(const UsbInterface& usbInterface) {
    if (usbInterface.altSettings.empty()) {
        return std::nullopt;
    }
    const std::uint8_t number = usbInterface.altSettings.front().interfaceNumber;
    std::optional<ChannelSetting> writeOnly;
    for (const UsbAltSetting& alt : usbInterface.altSettings) {
        if (alt.interfaceNumber != number) {
            continue;
        }
        std::optional<ChannelSetting> setting = SettingOf(alt);
        if (setting && setting->inEndpoint) {
            return setting;
        }
        if (setting && !writeOnly) {
            writeOnly = setting;
        }
    }
    return writeOnly;
}

}  // namespace fwup::libusb
