#pragma once

#include <string>
#include <string_view>

namespace fwup {

// Opens `path` for writing without sharing (creating it, never truncating it), appends all of
// `bytes` at its end and closes it again. False when the file could not be opened or not all bytes
// were written. Defined per platform.
bool AppendToFile(const std::wstring& path, std::string_view bytes);

}  // namespace fwup
