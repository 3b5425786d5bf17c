#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "device/channel.h"

namespace fwup {

// Result codes of the package transfer, beside kResultOk and kErrOpenChannel.
inline constexpr int kErrPackageEmpty = -3;       // the resource is missing or empty
inline constexpr int kErrPackageUnreadable = -5;  // found, but its bytes cannot be reached
inline constexpr int kErrTransferBuffer = -8;     // DownloadFW: no bytes behind a length, or a
                                                  // length beyond 32 bits
inline constexpr int kErrTransferWrite = -12;     // a write failed or wrote nothing

// The whole percentage the progress bar shows after `count` of `length` bytes: both taken as
// single-precision numbers and divided, the ratio then multiplied by 100 in double precision and
// truncated. Near 190 MB (where floats are 16 apart) it reaches 100 a few bytes before the end.
// `length` must not be 0.
int TransferPercent(std::uint32_t count, std::uint32_t length);

// Streams `length` bytes from `bytes` to the open channel in writes of at most kMaxWriteBytes,
// each starting at the first byte not yet accepted, so a channel that takes part of each write
// still receives every byte once and in order. After every write that took bytes, the main
// window (pMainDlg, when set) gets STATUS_TRANSFER with TransferPercent. Writes straight from
// `bytes`: no copy is made. Returns 1 (also for length 0, with no write and no report),
// kErrTransferWrite when a write fails or takes nothing, kErrTransferBuffer when `bytes` is null
// with a length or the length exceeds 32 bits (nothing is written then).
int DownloadFW(Channel* channel, const std::uint8_t* bytes, std::size_t length);

// Sends BINARY resource `resourceId` whole to the printer on `portName`, on a channel of its own
// (opened with OpenUSBDevice, closed before returning), as DownloadFW does, and hands the bytes
// already sent back to the resource layer every few MiB (ReleaseBinaryResourceBytes), so the
// memory a run holds does not grow with the package. Notice "loading ELF..." first; returns 1,
// or kErrPackageEmpty, kErrPackageUnreadable, kErrOpenChannel or DownloadFW's code, each failure
// with its tool log line.
int SendElf(int resourceId, std::wstring_view portName);

}  // namespace fwup
