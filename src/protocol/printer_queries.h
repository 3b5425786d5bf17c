#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "device/channel.h"
#include "device/printer_target.h"
#include "protocol/acl_exchange.h"
#include "protocol/security_layout.h"

namespace fwup {

// Set when the printer's last valid security record asked for encrypted firmware; selects the
// package that is sent. Written only by QuerySecurity, false at start.
extern std::atomic<bool> bFwEncrypted;

// The SSI request text of the version query (40 bytes, sent without a terminating zero).
inline constexpr std::string_view kFwVersionRequestText =
    "<!--#ssi IDr OID_PLATFORM_FW_VERSION -->";

// The package's firmware version, as the digits the printer's version text is compared with.
inline constexpr char kPackageVersionMajorDigit = '0';
inline constexpr char kPackageVersionMinorDigit = '9';
// Positions in the printer's version text of the two characters compared.
inline constexpr std::size_t kVersionMajorPos = 4;
inline constexpr std::size_t kVersionMinorPos = 6;

// Asks the printer's status on an open channel the caller keeps. Returns 1 with the status
// byte in `status`, or -9, -10, -11, -19, -20, -21.
int GetPrinterStatus(Channel* channel, std::int8_t& status);

// Compares the printer's firmware version (characters 4 and 6 of the reply text) with the
// package's: 3 same, 4 printer lower (upgrade due), 1 printer higher.
int ClassifyFwVersion(std::span<const std::uint8_t, kAclReplyDataSize> versionText);

// Opens its own channel to `printer`, asks the firmware version and classifies it. Returns 1,
// 3 or 4; -6 when no channel can be opened; -9, -10, -11, -1, -19 from the exchange; -22 when
// the text (up to its first zero) ends before the characters compared. When the printer
// answered, `versionText` (if given) receives its version text up to the first zero.
int QueryFwVersion(const PrinterTarget& printer, std::string* versionText = nullptr);

// The version text a printer that read `printerText` shows once it runs the package: the same
// text with the compared characters set to the package's digits ("V2.10.8" becomes "V2.10.9").
// A text too short to compare comes back as it is.
std::string PackageVersionFor(std::string printerText);

// CRC-16/XMODEM of the descrambled protected block of a security record.
std::uint16_t CalcCrc16(std::span<const std::uint8_t, kSecurityBlockSize> block);

// What a security record says once descrambled and checked.
struct SecurityCheck {
    bool crcValid = false;
    std::uint16_t crcCalc = 0;
    std::uint8_t security = 0;
};

// Descrambles and checks a security record; bytes the printer did not send read as zero.
SecurityCheck ExamineSecurityRecord(std::span<const std::uint8_t> record);

// Opens its own channel to `printer` and reads the security record with the vendor request.
// Returns -33 (check value valid; bFwEncrypted updated), -32 (check value wrong), -31 (no bytes
// returned), -6 (no channel). Writes its findings to the tool log.
int QuerySecurity(const PrinterTarget& printer);

}  // namespace fwup
