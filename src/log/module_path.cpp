#include "log/module_path.h"

#include <mutex>
#include <utility>

namespace fwup {
namespace {

// The worker thread reads the path while a test on another thread may set it.
std::mutex overrideMutex;
std::optional<std::wstring> overridePath;

}  // namespace

std::optional<std::wstring> ModuleFilePath() {
    {
        std::lock_guard<std::mutex> lock(overrideMutex);
        if (overridePath) {
            return overridePath;
        }
    }
    return HostModuleFilePath();
}

void SetModuleFilePathForTesting(std::optional<std::wstring> path) {
    std::lock_guard<std::mutex> lock(overrideMutex);
    overridePath = std::move(path);
}

}  // namespace fwup
