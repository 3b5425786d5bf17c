#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fwup {

// Small text helpers for the core's fixed message formats. The core formats by hand because the
// wide printf family disagrees between the Windows and the GNU C runtime on what %s means.

// Widens ASCII (or Latin-1) bytes one to one.
std::wstring Widen(std::string_view bytes);

// "%x": lower-case hexadecimal, no padding, no prefix.
std::wstring HexLower(std::uint32_t value);

// "%*d": decimal, right-aligned in a field of `width` characters (never cut).
std::wstring DecimalRightAligned(std::int64_t value, int width);

// "%0*d": decimal, zero-padded to at least `digits` digits.
std::wstring DecimalZeroPadded(std::uint32_t value, int digits);

// UTF-8 form of wide text (UTF-16 or UTF-32, whichever wchar_t holds); invalid units become U+FFFD.
std::string ToUtf8(std::wstring_view text);

// Wide text from UTF-8; invalid sequences become U+FFFD.
std::wstring FromUtf8(std::string_view text);

// `bytes` as they are when they are UTF-8; otherwise with each invalid sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view bytes);

// True when `text` begins with `prefix`, ignoring the case of ASCII letters only.
bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix);

}  // namespace fwup
