#pragma once

#include <string>
#include <string_view>

namespace fwup {

// `text` in code page 936 (GBK); ASCII stays ASCII. A character the code page cannot hold becomes
// one '?' and the rest of the text is kept: a log line with a mark in it tells more than a line
// that is missing. Never touches the process locale. Defined per platform.
std::string EncodeCp936(std::wstring_view text);

// `text` with every character beyond the Basic Multilingual Plane (a surrogate pair where wchar_t
// is UTF-16) and every unpaired surrogate replaced by one '?'. Code page 936 holds none of them,
// and a converter that works in UTF-16 units would otherwise write two marks for one character.
std::wstring ReplaceNonBmpWithQuestionMark(std::wstring_view text);

// The encoder of last resort, for a platform whose code page converter is missing: ASCII as is,
// every other character as one '?'.
std::string EncodeAsciiOrQuestionMark(std::wstring_view text);

}  // namespace fwup
