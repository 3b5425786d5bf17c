#include <windows.h>

#include <string>

#include "log/module_path.h"

namespace fwup {
namespace {

// The longest path Windows can hand out is about 32767 characters; the growing buffer stops there.
constexpr std::size_t kLongestPath = 1 << 16;

}  // namespace

std::optional<std::wstring> HostModuleFilePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    while (buffer.size() <= kLongestPath) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::nullopt;
        }
        // A full buffer means the path was cut: a cut path names the wrong file, so grow instead.
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::nullopt;
}

wchar_t HostPathSeparator() {
    return L'\\';
}

}  // namespace fwup
