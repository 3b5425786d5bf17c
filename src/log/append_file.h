#pragma once

#include <string>
#include <string_view>

namespace fwup {

// Opens `path` for writing (creating it, never truncating it), appends all of `bytes` at its end
// and closes it again. Only a regular file is written: a symbolic link (a reparse point on
// Windows), a FIFO, a device or a folder in its place is never followed or opened, and run as
// root (POSIX) neither the file nor its folder may belong to another user. The bytes land whole
// among other writers', also those of other processes: on POSIX one write at the file's end
// (O_APPEND), on Windows as the only writer, a second writer's open waiting (about 2 s at most) for
// the first to close. False when the file could not be opened or not all bytes were written.
// Defined per platform.
bool AppendToFile(const std::wstring& path, std::string_view bytes);

}  // namespace fwup
