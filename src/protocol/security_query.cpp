#include <algorithm>
#include <vector>

#include "base/wide_text.h"
#include "device/usb_open.h"
#include "log/tool_log.h"
#include "protocol/crc16.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"

namespace fwup {

std::atomic<bool> bFwEncrypted{false};

std::uint16_t CalcCrc16(std::span<const std::uint8_t, kSecurityBlockSize> block) {
    return Crc16Xmodem(block);
}

SecurityCheck ExamineSecurityRecord(std::span<const std::uint8_t> record) {
    std::array<std::uint8_t, kSecurityRecordSize> padded{};
    std::copy_n(record.begin(), std::min(record.size(), padded.size()), padded.begin());

    const std::uint8_t crcLow = padded[kSecurityCrcOffset];
    const std::uint8_t crcHigh = padded[kSecurityCrcOffset + 1];
    const std::uint8_t mask =
        crcLow != crcHigh ? static_cast<std::uint8_t>(crcLow ^ crcHigh) : kSecurityDefaultMask;
    std::array<std::uint8_t, kSecurityBlockSize> block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(padded[kSecurityBlockOffset + i] ^ mask);
    }
    SecurityCheck check;
    check.crcCalc = CalcCrc16(block);
    check.crcValid = check.crcCalc == static_cast<std::uint16_t>(crcLow | (crcHigh << 8));
    check.security = block[0];
    return check;
}

int QuerySecurity(const PrinterTarget& printer) {
    UsbChannel channel = OpenUSBDevice(printer);
    if (!channel) {
        return kErrOpenChannel;
    }
    std::vector<std::uint8_t> record(kVendorReplySize, 0);
    VendorReply reply = VendorGetCommand(channel.get(), kSecurityRequest, record);
    if (!reply.succeeded &&
        (reply.error == kErrorInsufficientBuffer || reply.error == kErrorMoreData)) {
        record.assign(kVendorRetryReplySize, 0);
        reply = VendorGetCommand(channel.get(), kSecurityRequest, record);
    }
    if (reply.returned == 0) {
        CloseUSBDevice(channel);
        return kSecurityNoReply;
    }
    record.resize(reply.returned);

    const SecurityCheck check = ExamineSecurityRecord(record);
    if (!check.crcValid) {
        WriteToolLog(L"CRC is invalid");
        CloseUSBDevice(channel);
        return kSecurityCrcInvalid;
    }
    WriteToolLog(L"CRC is valid, crcCalc: 0x" + HexLower(check.crcCalc));
    WriteToolLog(L"response.security: 0x" + HexLower(check.security));
    const bool encrypted = (check.security & kSecurityEncryptedBit) != 0;
    WriteToolLog(encrypted ? L"FW is encrypted" : L"FW is not encrypted");
    bFwEncrypted = encrypted;
    CloseUSBDevice(channel);
    return kSecurityCrcValid;
}

}  // namespace fwup
