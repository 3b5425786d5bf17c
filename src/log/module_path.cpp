#include "log/module_path.h"

#include <utility>

#include "base/process_slot.h"

namespace fwup {
namespace {

ValueSlot<std::optional<std::wstring>>& OverridePath() {
    static ValueSlot<std::optional<std::wstring>> path;
    return path;
}

}  // namespace

std::optional<std::wstring> ModuleFilePath() {
    std::optional<std::wstring> path = OverridePath().Get();
    return path ? path : HostModuleFilePath();
}

std::optional<std::wstring> SetModuleFilePathForTesting(std::optional<std::wstring> path) {
    return OverridePath().Exchange(std::move(path));
}

}  // namespace fwup
