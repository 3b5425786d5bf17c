#pragma once

#include <cerrno>
#include <cstddef>
#include <string_view>

namespace fwup {

// Hands all of `text` to `write` (a write(2) of its own: (data, size) -> bytes taken, or -1 with
// errno set), again after a short write and after a signal interrupted it (EINTR), so that a
// signal never cuts or loses a JSON line. False when the file gave an error or took nothing.
template <typename Write>
bool WriteFully(std::string_view text, Write&& write) {
    while (!text.empty()) {
        const auto taken = write(text.data(), text.size());
        if (taken < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (taken == 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(taken));
    }
    return true;
}

}  // namespace fwup
