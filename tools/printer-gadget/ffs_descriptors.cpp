#include "ffs_descriptors.h"

#include <linux/usb/ch9.h>
#include <linux/usb/functionfs.h>

#include <cstring>
#include <string_view>

namespace fwup::gadget {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
}

void PutPrinterInterface(std::vector<std::uint8_t>& out, std::uint16_t packet) {
    const std::uint8_t interface[USB_DT_INTERFACE_SIZE] = {
        USB_DT_INTERFACE_SIZE, USB_DT_INTERFACE, 0, 0, 2, USB_CLASS_PRINTER, 1, 2, 1};
    out.insert(out.end(), std::begin(interface), std::end(interface));
    for (const std::uint8_t address :
         {std::uint8_t{1 | USB_DIR_OUT}, std::uint8_t{2 | USB_DIR_IN}}) {
        out.insert(out.end(),
                   {USB_DT_ENDPOINT_SIZE, USB_DT_ENDPOINT, address, USB_ENDPOINT_XFER_BULK});
        Put16(out, packet);
        out.push_back(0);  // bInterval
    }
}

void PatchLength(std::vector<std::uint8_t>& out) {
    const auto length = static_cast<std::uint32_t>(out.size());
    for (int i = 0; i < 4; ++i) {
        out[4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
}

}  // namespace

std::vector<std::uint8_t> PrinterFunctionDescriptors() {
    std::vector<std::uint8_t> out;
    Put32(out, FUNCTIONFS_DESCRIPTORS_MAGIC_V2);
    Put32(out, 0);  // length, patched below
    Put32(out, FUNCTIONFS_HAS_FS_DESC | FUNCTIONFS_HAS_HS_DESC | FUNCTIONFS_ALL_CTRL_RECIP);
    Put32(out, 3);  // full-speed descriptors
    Put32(out, 3);  // high-speed descriptors
    PutPrinterInterface(out, 64);
    PutPrinterInterface(out, kHighSpeedBulkPacket);
    PatchLength(out);
    return out;
}

std::vector<std::uint8_t> PrinterFunctionStrings() {
    constexpr std::string_view kName = "Printer";
    std::vector<std::uint8_t> out;
    Put32(out, FUNCTIONFS_STRINGS_MAGIC);
    Put32(out, 0);  // length, patched below
    Put32(out, 1);  // strings per language
    Put32(out, 1);  // languages
    Put16(out, 0x0409);
    out.insert(out.end(), kName.begin(), kName.end());
    out.push_back(0);
    PatchLength(out);
    return out;
}

}  // namespace fwup::gadget
