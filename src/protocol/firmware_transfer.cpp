#include "protocol/firmware_transfer.h"

#include <span>
#include <string>

#include "base/wide_text.h"
#include "device/usb_open.h"
#include "log/tool_log.h"
#include "protocol/firmware_resource.h"
#include "protocol/result_codes.h"
#include "ui/main_window.h"
#include "ui/upgrade_status.h"

namespace fwup {
namespace {

void ReportProgress(int percent) {
    if (CVevaVoRirizevDlg* window = pMainDlg.load()) {
        window->ShowUpgradeStatus(STATUS_TRANSFER, percent);
    }
}

}  // namespace

int TransferPercent(std::uint32_t count, std::uint32_t length) {
    return static_cast<int>(static_cast<float>(count) / static_cast<float>(length) * 100.0f);
}

int DownloadFW(Channel* channel, const std::uint8_t* bytes, std::size_t length) {
    if (length == 0) {
        return kResultOk;
    }
    // A resource is at most 4 GiB - 1, and the progress is reckoned in 32 bits.
    if (bytes == nullptr || length > UINT32_MAX) {
        return kErrTransferBuffer;
    }
    std::size_t sent = 0;
    while (sent < length) {
        const long written = WriteUSBDevice(channel, bytes + sent, length - sent);
        if (written <= 0) {
            return kErrTransferWrite;
        }
        sent += static_cast<std::size_t>(written);
        ReportProgress(
            TransferPercent(static_cast<std::uint32_t>(sent), static_cast<std::uint32_t>(length)));
    }
    return kResultOk;
}

int SendElf(int resourceId, std::wstring_view portName) {
    ToolShowNotice(L"loading ELF...");

    std::uint32_t size = 0;
    if (LoadBinaryResource(nullptr, &size, resourceId) != 1 || size == 0) {
        WriteToolLog(L"ELF size is zero!");
        return kErrPackageEmpty;
    }
    // The package is sent from where the resource lies: no buffer of the package's size is
    // made, so a 190 MB package costs its mapped pages and nothing more.
    std::span<const std::uint8_t> package;
    if (LoadBinaryResource(&package, &size, resourceId) != 1 || package.empty()) {
        WriteToolLog(L"read elf file failed!");
        return kErrPackageUnreadable;
    }

    UsbChannel channel = OpenUSBDevice(portName);
    if (!channel) {
        WriteToolLog(L"open USB Device failed!");
        return kErrOpenChannel;
    }
    const int result = DownloadFW(channel.get(), package.data(), package.size());
    if (result != kResultOk) {
        WriteToolLog(L"DownloadFW failed, Err Code:" + DecimalRightAligned(result, 8) + L"!");
    }
    CloseUSBDevice(channel);
    return result;
}

}  // namespace fwup
