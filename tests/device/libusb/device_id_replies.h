#pragma once

// GET_DEVICE_ID replies and the serial each names, read with CUPS's rules for the length and the
// fields: the unit tests read them with our reader, and the USB stand (scripts/usb-stand.sh,
// through usb-stand-queue-port) has a printer gadget send each one to CUPS's own usb backend and
// to our reader. Where a reply's make differs from the gadget's USB strings (MFG:), the URI the
// backend lists shows whether it read the ID.

#include <optional>
#include <string>
#include <string_view>

namespace fwup::libusb::testing {

// A reply: the text after its two length bytes, the length counting them.
inline std::string BigEndianReply(std::string_view text) {
    const std::size_t length = text.size() + 2;
    return std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} +
           std::string(text);
}

inline std::string LittleEndianReply(std::string_view text) {
    const std::size_t length = text.size() + 2;
    return std::string{static_cast<char>(length & 0xFF), static_cast<char>(length >> 8)} +
           std::string(text);
}

// Two length bytes as given, then the text (which ends with a NUL where the length claims more
// than is sent, so CUPS, which reads its whole buffer, stops where our reader stops).
inline std::string RawReply(unsigned char first, unsigned char second, std::string_view text) {
    return std::string{static_cast<char>(first), static_cast<char>(second)} + std::string(text);
}

struct DeviceIdReplyCase {
    const char* name;
    std::string reply;
    std::optional<std::string> serial;  // none: the ID names no serial
};

inline const std::string kFullId =
    "MFG:Viruzu;MDL:TQ3800HKR Series;CMD:PJL,ACL;CLS:PRINTER;SN:Q-1;";

inline const DeviceIdReplyCase kDeviceIdReplies[] = {
    {"bigEndian", BigEndianReply(kFullId), "Q-1"},
    {"littleEndian", LittleEndianReply("MFG:LowByteFirst;MDL:TQ3800HKR Series;CLS:PRINTER;SN:Q-1;"),
     "Q-1"},
    // 5 high byte first, 1280 low byte first: above the buffer, so cut to it.
    {"belowFourteenBothWays", RawReply(0x00, 0x05, std::string("MFG:V;SN:Q-1;\0", 14)), "Q-1"},
    {"aboveTheBufferBothWays", RawReply(0xFF, 0xFF, std::string("MFG:V;SN:Q-1;\0", 14)), "Q-1"},
    // 1280 high byte first, 5 low byte first: no reading is believed.
    {"aboveThenBelow", RawReply(0x05, 0x00, "MFG:Refused;SN:Q-1;"), std::nullopt},
    {"zeroLength", RawReply(0x00, 0x00, "MFG:Refused;SN:Q-1;"), std::nullopt},
    {"emptyText", RawReply(0x00, 0x02, std::string("\0", 1)), std::nullopt},
    {"unterminatedLastSn", BigEndianReply("MFG:Viruzu;MDL:TQ3800HKR Series;SN:Q-1"), std::nullopt},
    {"twoSnFieldsTheLastWins", BigEndianReply("SN:Q-FIRST;MFG:Viruzu;\r\n sn : Q-1 ;"), "Q-1"},
    {"serialNumberBeforeSernBeforeSn", BigEndianReply("SN:Q-3;SERN:Q-2;SERIALNUMBER:Q-1;"), "Q-1"},
    {"emptySnField", BigEndianReply("MFG:Viruzu;SN:;"), ""},
    // CLS has no colon: its key runs on to "CLS;SN".
    {"fieldWithoutColon", BigEndianReply("MFG:Viruzu;CLS;SN:Q-1;"), std::nullopt},
    {"snWithOddCharacters", BigEndianReply("MFG:Viruzu;SN:Q 1/2%3=4&5?6#7\xC3\xA9;"),
     "Q 1/2%3=4&5?6#7\xC3\xA9"},
};

}  // namespace fwup::libusb::testing
