#pragma once

#include <string>
#include <string_view>

#include "base/clock.h"

namespace fwup {

// "[%m/%d %H:%M:%S] ": two digits per field, a blank after the bracket, no year.
std::wstring FormatTimeStamp(const CivilTime& time);

// What a text-mode stream stores for `text`: every line feed becomes carriage return plus line
// feed; a carriage return passes unchanged.
std::wstring TranslateLineFeeds(std::wstring_view text);

// The text of one log line as it lands in the file (before encoding): time stamp, message and
// "\r\n", line feeds translated, so the line ends in CR CR LF.
std::wstring ToolLogLine(const CivilTime& time, std::wstring_view message);

}  // namespace fwup
