#pragma once

#include <string>
#include <string_view>

namespace fwup {

// A printer, a scenario file or the history can hand the programs any text. Shown raw, some of
// it acts instead of showing: a terminal takes C0 and C1 controls and DEL as commands, bidi
// controls reorder what a reader sees, and line and paragraph separators (U+0085, U+2028,
// U+2029) cut one line into two for any reader that splits on them. These helpers make such
// text visible wherever it is output, never where it is stored.

// True for a character that acts rather than shows: C0 and C1 controls, DEL, U+061C, U+200E,
// U+200F, U+202A-U+202E, U+2066-U+2069, U+2028 and U+2029.
bool ActsRatherThanShows(char32_t c);

// `text` for a terminal, a pipe or one log line: each character that acts written as a visible
// escape (`\t`, `\n`, `\r`, `\x1b` for the other C0 controls and DEL, `\u202e` for the rest),
// everything else as it is. A lone surrogate becomes U+FFFD.
std::wstring ShownText(std::wstring_view text);

// The same for UTF-8; what is not UTF-8 becomes U+FFFD first.
std::string ShownUtf8(std::string_view utf8);

// JSON text that stays one line for every reader: each character JSON lets stand raw inside a
// string but that acts (DEL, C1 controls, bidi controls, line and paragraph separators) written
// as `\uXXXX`, which a JSON parser reads back as the same character. `json` must be valid JSON
// whose controls below U+0020 are escaped already (as every serializer does inside strings);
// outside strings such JSON holds no character that acts, so only strings change.
std::string LineSafeJson(std::string_view json);

}  // namespace fwup
