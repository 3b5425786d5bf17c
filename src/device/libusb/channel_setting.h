#pragma once

#include <cstdint>
#include <optional>

#include "device/libusb/usb_backend.h"

namespace fwup::libusb {

inline constexpr std::uint8_t kPrinterClass = 7;
inline constexpr std::uint8_t kPrinterSubClass = 1;
inline constexpr std::uint8_t kUnidirectionalProtocol = 1;
inline constexpr std::uint8_t kBidirectionalProtocol = 2;

// The alternate setting of a printing interface the channel talks through, and its endpoints.
struct ChannelSetting {
    std::uint8_t interfaceNumber = 0;
    std::uint8_t alternateSetting = 0;
    std::uint8_t outEndpoint = 0;
    std::optional<std::uint8_t> inEndpoint;  // none on a unidirectional printer: reads fail
    std::uint16_t inPacketSize = 0;          // 1..1024, see ChooseChannelSetting
};

// The setting the channel uses on `usbInterface`: the first bidirectional one (printer class,
// protocol 2, with a bulk IN and a bulk OUT endpoint), else the first unidirectional one
// (protocol 1 or 2, with a bulk OUT endpoint). None when the interface has neither, which is what
// makes an interface a printing interface: 1284.4 (protocol 3) and IPP over USB (protocol 4)
// are not the plain byte stream the printer's commands travel on. Alternate settings whose
// interface number differs from the first one's are ignored. An IN packet size outside 1..1024
// is taken as 512, of which every real bulk packet size is a divisor.
std::optional<ChannelSetting> ChooseChannelSetting(const UsbInterface& usbInterface);

}  // namespace fwup::libusb
