#include <algorithm>
#include <string>
#include <vector>

#include "device/usb_open.h"
#include "log/tool_log.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"

namespace fwup {
namespace {

// The value a version text's two compared characters form. For digits it is
// major * 256 + minor; other characters still give a value (a letter's code masked by 0xCF, a
// character below '0' a negative major part), as the printer's firmware expects.
std::int32_t VersionValue(std::uint8_t major, std::uint8_t minor) {
    return ((static_cast<std::int32_t>(major) - 0x30) * 256) |
           static_cast<std::int32_t>(minor & 0xCF);
}

std::vector<std::uint8_t> VersionRequestFrame() {
    const AclFrame header = AclFrame::Request(
        ACLCMD_GET_FW_VERSION, static_cast<std::uint16_t>(kFwVersionRequestText.size()));
    std::vector<std::uint8_t> frame(header.bytes.begin(), header.bytes.end());
    frame.insert(frame.end(), kFwVersionRequestText.begin(), kFwVersionRequestText.end());
    return frame;
}

}  // namespace

int ClassifyFwVersion(std::span<const std::uint8_t, kAclReplyDataSize> versionText) {
    // Compared unsigned, so a negative value counts as higher than the package's.
    const auto printer = static_cast<std::uint32_t>(
        VersionValue(versionText[kVersionMajorPos], versionText[kVersionMinorPos]));
    const auto package = static_cast<std::uint32_t>(
        VersionValue(kPackageVersionMajorDigit, kPackageVersionMinorDigit));
    if (printer == package) {
        return kVersionSame;
    }
    return printer < package ? kVersionLower : kVersionHigher;
}

std::string PackageVersionFor(std::string printerText) {
    if (printerText.size() > kVersionMinorPos) {
        printerText[kVersionMajorPos] = kPackageVersionMajorDigit;
        printerText[kVersionMinorPos] = kPackageVersionMinorDigit;
    }
    return printerText;
}

int QueryFwVersion(const PrinterTarget& printer, std::string* versionText) {
    UsbChannel channel = OpenUSBDevice(printer);
    if (!channel) {
        return kErrOpenChannel;
    }
    AclReplyData data{};
    int result = ExchangeLengthPrefixed(channel.get(), VersionRequestFrame(), data);
    if (result == kResultOk) {
        const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
        const auto textLength = static_cast<std::size_t>(end - data.begin());
        if (versionText != nullptr) {
            versionText->assign(data.begin(), end);
        }
        // Compared past the text's end, the zeros of the empty data area would make a verdict
        // the printer never gave ("newer", which sends the package without asking).
        if (textLength <= kVersionMinorPos) {
            WriteToolLog(L"The printer's version reply holds " + std::to_wstring(textLength) +
                         L" characters of text, too few to compare; the version query failed");
            result = kErrVersionTextShort;
        } else {
            result = ClassifyFwVersion(data);
        }
    }
    CloseUSBDevice(channel);
    return result;
}

}  // namespace fwup
