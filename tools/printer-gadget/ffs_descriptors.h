#pragma once

#include <cstdint>
#include <vector>

namespace fwup::gadget {

// Bulk packet size of a high-speed endpoint (dummy_hcd runs at high speed).
inline constexpr std::uint16_t kHighSpeedBulkPacket = 512;

// What a FunctionFS ep0 takes first: one interface of class 7, subclass 1, protocol 2
// (bidirectional printer) with a bulk OUT endpoint (ep1 file) and a bulk IN endpoint (ep2 file),
// for full and high speed. Control requests of any recipient reach the program, as the vendor
// request need not name the interface.
std::vector<std::uint8_t> PrinterFunctionDescriptors();

// What ep0 takes second: the interface's name in US English.
std::vector<std::uint8_t> PrinterFunctionStrings();

}  // namespace fwup::gadget
