#pragma once

namespace fwup {

// Result codes of the printer exchanges and queries. 1 is success; every failure is negative.
inline constexpr int kResultOk = 1;

// Opening the device channel failed (the same code wherever a channel is opened).
inline constexpr int kErrOpenChannel = -6;

// Writing the job of an ACL exchange.
inline constexpr int kErrWriteUel = -9;
inline constexpr int kErrWriteLanguageLine = -10;
inline constexpr int kErrWriteFrame = -11;

// Reading the reply of an ACL exchange.
inline constexpr int kErrReplyHeaderRead =
    -1;                                        // length-prefixed: header failed in the last attempt
inline constexpr int kErrReplyRead = -19;      // fixed: a read failed; length-prefixed: data failed
inline constexpr int kErrReplyTimeout = -20;   // fixed: not complete within the time bound
inline constexpr int kErrReplyMismatch = -21;  // fixed: wrong prefix or cmdID
// The version reply's text ends before the characters the comparison reads.
inline constexpr int kErrVersionTextShort = -22;

// Firmware version comparison (printer's version against the package's).
inline constexpr int kVersionHigher = 1;
inline constexpr int kVersionSame = 3;
inline constexpr int kVersionLower = 4;

// Security query.
inline constexpr int kSecurityNoReply = -31;
inline constexpr int kSecurityCrcInvalid = -32;
inline constexpr int kSecurityCrcValid = -33;

}  // namespace fwup
