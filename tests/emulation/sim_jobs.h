#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "protocol/acl_frame.h"

namespace fwup::testing {

inline constexpr std::string_view kVersionRequestText = "<!--#ssi IDr OID_PLATFORM_FW_VERSION -->";

inline void Append(std::vector<std::uint8_t>& bytes, std::string_view text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// UEL, language line, `frameAndBody`, UEL: one job as the host writes it.
inline std::vector<std::uint8_t> WrapJob(std::span<const std::uint8_t> frameAndBody) {
    std::vector<std::uint8_t> job;
    Append(job, UEL);
    Append(job, kAclLanguageLine);
    job.insert(job.end(), frameAndBody.begin(), frameAndBody.end());
    Append(job, UEL);
    return job;
}

inline std::vector<std::uint8_t> StatusJob() {
    return WrapJob(AclFrame::Request(ACLCMD_GET_PRINTER_STATUS).bytes);
}

inline std::vector<std::uint8_t> VersionJob() {
    const AclFrame frame = AclFrame::Request(
        ACLCMD_GET_FW_VERSION, static_cast<std::uint16_t>(kVersionRequestText.size()));
    std::vector<std::uint8_t> body(frame.bytes.begin(), frame.bytes.end());
    Append(body, kVersionRequestText);
    return WrapJob(body);
}

// A firmware package: the frame as shipped, with `payloadBytes` of varied payload.
inline std::vector<std::uint8_t> FirmwareJob(std::uint32_t payloadBytes) {
    AclFrame frame = AclFrame::Request(ACLCMD_FW_UPDATE, 0x0207);
    frame.bytes[9] = 0x01;
    for (int i = 0; i < 4; ++i) {
        frame.bytes[10 + i] = static_cast<std::uint8_t>(payloadBytes >> (24 - 8 * i));
    }
    WriteBe16(frame.bytes, 14, 0xFF0A);
    std::vector<std::uint8_t> body(frame.bytes.begin(), frame.bytes.end());
    std::uint32_t state = 12345;
    for (std::uint32_t i = 0; i < payloadBytes; ++i) {
        state = state * 1103515245u + 12345u;
        body.push_back(static_cast<std::uint8_t>(state >> 16));
    }
    return WrapJob(body);
}

}  // namespace fwup::testing
