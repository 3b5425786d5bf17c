#include <unistd.h>

#include <string>

#include "base/wide_text.h"
#include "log/module_path.h"

namespace fwup {
namespace {

// Far beyond any real path; keeps the growing buffer bounded if the link keeps lengthening.
constexpr std::size_t kLongestPath = 1 << 16;

}  // namespace

std::optional<std::wstring> HostModuleFilePath() {
    std::string buffer(256, '\0');
    while (buffer.size() <= kLongestPath) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return std::nullopt;
        }
        // readlink fills the whole buffer when the path did not fit.
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            std::wstring path = FromUtf8(buffer);
            // A name that is not UTF-8 would come back from the wide form as another name; better
            // no log than a log in a directory that is not the executable's.
            if (ToUtf8(path) != buffer) {
                return std::nullopt;
            }
            return path;
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::nullopt;
}

wchar_t HostPathSeparator() {
    return L'/';
}

}  // namespace fwup
