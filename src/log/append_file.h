#pragma once

#include <string>
#include <string_view>

namespace fwup {

// Opens `path` for writing (creating it, never truncating it), appends all of `bytes` at its end
// and closes it again. Only a regular file is written: a symbolic link (a reparse point on
// Windows), a FIFO, a device or a folder in its place is never followed or opened, and run as
// root (POSIX) neither the file nor its folder may belong to another user. While one line is
// written nobody else writes: a second writer's open fails. False when the file could not be
// opened or not all bytes were written. Defined per platform.
bool AppendToFile(const std::wstring& path, std::string_view bytes);

}  // namespace fwup
