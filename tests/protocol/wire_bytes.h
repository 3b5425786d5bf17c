#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace fwup::testing {

inline std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

inline std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// A 16-byte reply header: prefix, cmdID, cmdStatus, then two data bytes.
inline std::vector<std::uint8_t> ReplyHeader(std::uint16_t prefix, std::uint16_t cmdID,
                                             std::uint16_t cmdStatus, std::uint8_t data0,
                                             std::uint8_t data1 = 0) {
    std::vector<std::uint8_t> header(16, 0);
    header[0] = static_cast<std::uint8_t>(prefix >> 8);
    header[1] = static_cast<std::uint8_t>(prefix);
    header[2] = static_cast<std::uint8_t>(cmdID >> 8);
    header[3] = static_cast<std::uint8_t>(cmdID);
    header[4] = static_cast<std::uint8_t>(cmdStatus >> 8);
    header[5] = static_cast<std::uint8_t>(cmdStatus);
    header[6] = data0;
    header[7] = data1;
    return header;
}

// A version reply: header with N = text length, then the text.
inline std::vector<std::uint8_t> VersionReply(std::string_view text) {
    const auto n = static_cast<std::uint16_t>(text.size());
    return Concat({ReplyHeader(0x00AC, 0xFF21, 0, static_cast<std::uint8_t>(n >> 8),
                               static_cast<std::uint8_t>(n)),
                   Bytes(text)});
}

}  // namespace fwup::testing
