#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fwup {

// `text` folded for comparing answers: full case folding, accents and other combining marks
// dropped, fullwidth letters as ASCII, blanks removed (see scripts/make-answer-fold.py).
std::wstring FoldAnswer(std::wstring_view text);

// True when `typed` (UTF-8, as read from the terminal) says Yes: "y" or "yes", or a yes word of
// `language` (a primary language id), however it is cased or accented. Anything else is No.
bool IsYesAnswer(std::string_view typed, std::uint16_t language);

}  // namespace fwup
