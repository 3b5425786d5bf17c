#pragma once

#include <filesystem>
#include <string>

namespace fwup {

// How the last folder of a path is to be met.
enum class FolderUse {
    kShared,   // must exist; trusted as every folder on the way is (a system folder)
    kPrivate,  // made 0700 when absent; must belong to this user and be writable by nobody else
};

// Opens the folder `path` (made absolute) one name at a time from the root, without following a
// symlink anywhere, and refuses it (-1, `error` saying which folder and why) when a folder on the
// way is not a directory, belongs to a user other than root or this one, or may be written by
// others without its sticky bit (they could swap the next name under us). The descriptor is
// close-on-exec, open for reading; the caller closes it.
int OpenTrustedFolder(const std::filesystem::path& path, FolderUse use, std::string& error);

}  // namespace fwup
