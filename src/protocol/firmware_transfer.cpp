#include "protocol/firmware_transfer.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>

#include "base/wide_text.h"
#include "device/usb_open.h"
#include "log/tool_log.h"
#include "protocol/firmware_resource.h"
#include "protocol/package_digest.h"
#include "protocol/result_codes.h"

namespace fwup {
namespace {

// How far the stream runs between hints that the bytes behind it may go: a few large hints, not
// one per write, and memory held stays near this much whatever the package's size.
constexpr std::size_t kReleaseStride = std::size_t{8} << 20;

// Hints that bytes [from, to) are done with. The source only gives back whole pages inside the
// range, so the range starts a little before `from`: the page the previous hint ended in is
// whole by now. Larger than any page size a platform uses; cheap to hint twice.
constexpr std::size_t kReleaseOverlap = std::size_t{64} << 10;

void ReleaseSince(const std::uint8_t* bytes, std::size_t from, std::size_t to) {
    const std::size_t start = from > kReleaseOverlap ? from - kReleaseOverlap : 0;
    ReleaseBinaryResourceBytes({bytes + start, to - start});
}

// DownloadFW, optionally hinting that the bytes already sent may leave memory (they must be a
// resource's bytes for the hint to do anything).
int StreamPackage(Channel* channel, const std::uint8_t* bytes, std::size_t length, bool releaseSent,
                  TransferObserver* observer) {
    if (length == 0) {
        return kResultOk;
    }
    // A resource is at most 4 GiB - 1, and the progress is reckoned in 32 bits.
    if (bytes == nullptr || length > UINT32_MAX) {
        return kErrTransferBuffer;
    }
    std::size_t sent = 0;
    std::size_t releasedTo = 0;
    int result = kResultOk;
    while (sent < length) {
        const long written = WriteUSBDevice(channel, bytes + sent, length - sent);
        if (written <= 0) {
            result = kErrTransferWrite;
            break;
        }
        sent += static_cast<std::size_t>(written);
        if (releaseSent && sent - releasedTo >= kReleaseStride) {
            ReleaseSince(bytes, releasedTo, sent);
            releasedTo = sent;
        }
        if (observer != nullptr) {
            observer->OnTransferProgress(sent, length);
        }
    }
    if (releaseSent && sent > releasedTo) {
        ReleaseSince(bytes, releasedTo, sent);
    }
    return result;
}

}  // namespace

int TransferPercent(std::uint32_t count, std::uint32_t length) {
    // The ratio in single precision, the product in double: a float product rounds some counts up
    // to the next whole percent (1791 of 1990 would show 90 where the ratio is below 0.9).
    const float ratio = static_cast<float>(count) / static_cast<float>(length);
    return static_cast<int>(static_cast<double>(ratio) * 100.0);
}

int DownloadFW(Channel* channel, const std::uint8_t* bytes, std::size_t length,
               TransferObserver* observer) {
    return StreamPackage(channel, bytes, length, false, observer);
}

// One pass, handing the pages back behind it as the transfer does, so the check holds no more of
// the package in memory than the transfer will; the transfer reads the pages back from the
// executable's file.
bool PackageMatchesRecordedDigest(int resourceId, std::span<const std::uint8_t> package) {
    const std::optional<PackageDigest> recorded = RecordedPackageDigest(resourceId);
    if (!recorded) {
        return false;
    }
    PackageHasher hasher;
    for (std::size_t done = 0; done < package.size();) {
        const std::size_t next = done + std::min(kReleaseStride, package.size() - done);
        hasher.Update(package.subspan(done, next - done));
        ReleaseSince(package.data(), done, next);
        done = next;
    }
    return hasher.Digest() == *recorded;
}

int SendElf(int resourceId, const PrinterTarget& printer, TransferObserver* observer) {
    ToolShowNotice(L"loading ELF...");

    std::uint32_t size = 0;
    if (LoadBinaryResource(nullptr, &size, resourceId) != 1 || size == 0) {
        WriteToolLog(L"ELF size is zero!");
        return kErrPackageEmpty;
    }
    // The package is sent from where the resource lies: no buffer of the package's size is
    // made, and the pages already sent are handed back as the stream passes them.
    std::span<const std::uint8_t> package;
    if (LoadBinaryResource(&package, &size, resourceId) != 1 || package.empty()) {
        WriteToolLog(L"read elf file failed!");
        return kErrPackageUnreadable;
    }

    if (!PackageMatchesRecordedDigest(resourceId, package)) {
        WriteToolLog(L"Firmware package " + std::to_wstring(resourceId) +
                     L" is damaged; nothing was sent");
        return kErrPackageDamaged;
    }

    UsbChannel channel = OpenUSBDevice(printer);
    if (!channel) {
        WriteToolLog(L"open USB Device failed!");
        return kErrOpenChannel;
    }
    const int result = StreamPackage(channel.get(), package.data(), package.size(), true, observer);
    if (result != kResultOk) {
        WriteToolLog(L"DownloadFW failed, Err Code:" + DecimalRightAligned(result, 8) + L"!");
    }
    CloseUSBDevice(channel);
    return result;
}

}  // namespace fwup
