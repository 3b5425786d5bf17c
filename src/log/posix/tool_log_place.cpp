#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/environment.h"
#include "base/wide_text.h"
#include "log/posix/regular_file_open.h"
#include "log/posix/tool_log_place_choice.h"
#include "log/tool_log_place.h"

namespace fwup {
namespace {

namespace fs = std::filesystem;

// A system folder is read by everyone and written by root; a user's state is theirs alone.
constexpr mode_t kSystemFolderMode = 0755;
constexpr mode_t kStateFolderMode = 0700;

// More folders than any sound state path holds above its first existing one.
constexpr std::size_t kMaxMissingFolders = 32;

bool AsRoot() {
    return ::geteuid() == 0;
}

// Effective ids, as the open that follows uses; root passes wherever the file system is writable.
bool Writable(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Root owns `path`, a folder or regular file that is no link (for the folder holding the file,
// `folder`).
bool RootsOwn(const std::string& path, bool folder) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && info.st_uid == 0 &&
           (folder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode));
}

bool CanWriteBesideExecutable(const std::string& filePath) {
    const std::string folder = fs::path(filePath).parent_path().string();
    if (AsRoot() && !RootsOwn(folder, true)) {
        return false;
    }
    struct stat info {};
    if (::lstat(filePath.c_str(), &info) == 0) {
        // A link, FIFO or device in the file's place is never written: the file moves.
        return S_ISREG(info.st_mode) && (!AsRoot() || RootsOwn(filePath, false)) &&
               Writable(filePath);
    }
    return Writable(folder);
}

// The XDG base directory rules: a relative value is to be ignored.
std::optional<fs::path> StateHome() {
    if (const std::optional<fs::path> state = EnvironmentPath(L"XDG_STATE_HOME");
        state && state->is_absolute()) {
        return *state;
    }
    if (const std::optional<fs::path> home = EnvironmentPath(L"HOME");
        home && home->is_absolute()) {
        return *home / ".local" / "state";
    }
    return std::nullopt;
}

// `mode` on the folder `path`, never through a link.
bool SetFolderMode(const fs::path& path, mode_t mode) {
    const UniqueFd folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    return folder.valid() && ::fchmod(folder.get(), mode) == 0;
}

// Makes `dir` and whichever of its parents are missing with `mode`, whatever the umask says.
// Root makes a folder only inside one of its own, so that a link another user planted on the way
// cannot steer where it goes. `dir` itself must be a folder and no link; one of the user's own
// that others may write (an earlier run's under umask 0) is given `mode` again.
bool MakeFolder(const fs::path& dir, mode_t mode) {
    std::vector<fs::path> missing;
    for (fs::path path = dir;; path = path.parent_path()) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0) {
            if (AsRoot() && !missing.empty() && !RootsOwn(path.string(), true)) {
                return false;
            }
            break;
        }
        if (errno != ENOENT || path == path.parent_path() || missing.size() >= kMaxMissingFolders) {
            return false;
        }
        missing.push_back(path);
    }
    for (auto path = missing.rbegin(); path != missing.rend(); ++path) {
        if (::mkdir(path->c_str(), mode) == 0) {
            if (!SetFolderMode(*path, mode)) {
                return false;
            }
        } else if (errno != EEXIST) {
            return false;
        }
    }
    const UniqueFd folder(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!folder.valid() || ::fstat(folder.get(), &info) != 0) {
        return false;
    }
    if (info.st_uid == ::geteuid() && (info.st_mode & 022 & ~mode) != 0) {
        (void)::fchmod(folder.get(), mode);
    }
    return true;
}

// The file `name` in `dir`, creating the directory; empty when it cannot be made or its name
// would not come back the same from the wide form.
std::wstring FileIn(const fs::path& dir, mode_t mode, const char* name) {
    if (!MakeFolder(dir, mode)) {
        return {};
    }
    const std::string path = (dir / name).string();
    std::wstring wide = FromUtf8(path);
    if (ToUtf8(wide) != path) {
        return {};
    }
    return wide;
}

// `besideExecutable` when the tool's files stay there, else the file `name` in `systemFolder`
// (root) or the user's state folder.
std::wstring ToolFilePath(const std::wstring& besideExecutable, const char* systemFolder,
                          const char* name) {
    const bool writable =
        !besideExecutable.empty() && CanWriteBesideExecutable(ToUtf8(besideExecutable));
    switch (ChooseToolLogPlace(besideExecutable, AsRoot(), writable)) {
        case ToolLogPlace::kBesideProgram:
            return besideExecutable;
        case ToolLogPlace::kSystemLogFolder:
            return FileIn(fs::path(systemFolder), kSystemFolderMode, name);
        case ToolLogPlace::kStateFolder:
            break;
    }
    const std::optional<fs::path> stateHome = StateHome();
    return stateHome ? FileIn(*stateHome / "viruzu-fwup", kStateFolderMode, name) : std::wstring();
}

}  // namespace

std::wstring HostToolLogPath(const std::wstring& besideExecutable) {
    return ToolFilePath(besideExecutable, "/var/log/viruzu-fwup", "Tool.log");
}

std::wstring HostHistoryPath(const std::wstring& besideExecutable, const char* fileName) {
    return ToolFilePath(besideExecutable, "/var/lib/viruzu-fwup", fileName);
}

}  // namespace fwup
