#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "device/channel.h"
#include "device/printer_target.h"

namespace fwup {

// Result codes of the package transfer, beside kResultOk and kErrOpenChannel.
inline constexpr int kErrPackageEmpty = -3;       // the resource is missing or empty
inline constexpr int kErrPackageUnreadable = -5;  // found, but its bytes cannot be reached
inline constexpr int kErrTransferBuffer = -8;     // DownloadFW: no bytes behind a length, or a
                                                  // length beyond 32 bits
inline constexpr int kErrTransferWrite = -12;     // a write failed or wrote nothing
inline constexpr int kErrPackageDamaged = -13;    // SendElf: the package's bytes do not match the
                                                  // digest recorded when it was built in (or it
                                                  // has none); nothing was sent

// Told after every write that took bytes, on the thread that runs the transfer, how far it has
// come. Whoever starts a transfer decides where progress goes; the transfer waits for the call,
// so an observer that draws must not draw on every call.
class TransferObserver {
  public:
    virtual void OnTransferProgress(std::size_t sent, std::size_t length) = 0;

  protected:
    ~TransferObserver() = default;
};

// The whole percentage the progress bar shows after `count` of `length` bytes: both taken as
// single-precision numbers and divided, the ratio then multiplied by 100 in double precision and
// truncated. Near 190 MB (where floats are 16 apart) it reaches 100 a few bytes before the end.
// `length` must not be 0.
int TransferPercent(std::uint32_t count, std::uint32_t length);

// Streams `length` bytes from `bytes` to the open channel in writes of at most kMaxWriteBytes,
// each starting at the first byte not yet accepted, so a channel that takes part of each write
// still receives every byte once and in order. After every write that took bytes, `observer`
// (when given) learns the bytes sent so far. Writes straight from `bytes`: no copy is made. Returns
// 1 (also for length 0, with no write and no report), kErrTransferWrite when a write fails or takes
// nothing, kErrTransferBuffer when `bytes` is null with a length or the length exceeds 32 bits
// (nothing is written then).
int DownloadFW(Channel* channel, const std::uint8_t* bytes, std::size_t length,
               TransferObserver* observer = nullptr);

// Whether `package`, the bytes of BINARY resource `resourceId`, still hash to the digest the build
// recorded beside them (RecordedPackageDigest); false when none was recorded. Reads the package
// once, handing each few MiB back behind it (ReleaseBinaryResourceBytes) as the transfer does.
bool PackageMatchesRecordedDigest(int resourceId, std::span<const std::uint8_t> package);

// Sends BINARY resource `resourceId` whole to `printer`, on a channel of its own
// (opened with OpenUSBDevice, closed before returning), as DownloadFW does (progress to
// `observer`), and hands the bytes
// already sent back to the resource layer every few MiB (ReleaseBinaryResourceBytes), so the
// memory a run holds does not grow with the package. Before the channel is opened the package is
// hashed in one pass, handing its bytes back the same way, and compared with the digest the
// build recorded (RecordedPackageDigest): a damaged package is never sent. Notice
// "loading ELF..." first; returns 1, or kErrPackageEmpty, kErrPackageUnreadable,
// kErrPackageDamaged, kErrOpenChannel or DownloadFW's code, each failure with its tool log line.
int SendElf(int resourceId, const PrinterTarget& printer, TransferObserver* observer = nullptr);

}  // namespace fwup
