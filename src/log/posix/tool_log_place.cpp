#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/environment.h"
#include "base/wide_text.h"
#include "log/posix/tool_log_place_choice.h"
#include "log/tool_log_place.h"

namespace fwup {
namespace {

namespace fs = std::filesystem;

// Effective ids, as the open that follows uses; root passes wherever the file system is writable.
bool Writable(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool CanWriteBesideExecutable(const std::string& logPath) {
    if (::access(logPath.c_str(), F_OK) == 0) {
        return Writable(logPath);
    }
    return Writable(fs::path(logPath).parent_path().string());
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

// The file `name` in `dir`, creating the directory; empty when it cannot be made or its name
// would not come back the same from the wide form.
std::wstring FileIn(const fs::path& dir, const char* name) {
    std::error_code error;
    fs::create_directories(dir, error);
    if (error) {
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
    switch (ChooseToolLogPlace(besideExecutable, ::geteuid() == 0, writable)) {
        case ToolLogPlace::kBesideProgram:
            return besideExecutable;
        case ToolLogPlace::kSystemLogFolder:
            return FileIn(fs::path(systemFolder), name);
        case ToolLogPlace::kStateFolder:
            break;
    }
    const std::optional<fs::path> stateHome = StateHome();
    return stateHome ? FileIn(*stateHome / "viruzu-fwup", name) : std::wstring();
}

}  // namespace

std::wstring HostToolLogPath(const std::wstring& besideExecutable) {
    return ToolFilePath(besideExecutable, "/var/log/viruzu-fwup", "Tool.log");
}

std::wstring HostHistoryPath(const std::wstring& besideExecutable) {
    return ToolFilePath(besideExecutable, "/var/lib/viruzu-fwup", "history.jsonl");
}

}  // namespace fwup
