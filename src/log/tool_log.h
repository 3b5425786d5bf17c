#pragma once

#include <string>
#include <string_view>

namespace fwup {

// Appends one line, "[MM/DD hh:mm:ss] " + message + "\r\n" in text-mode form (each line feed
// stored as CR LF, so the line ends in CR CR LF) and code page 936, to "Tool.log" beside the
// executable. The file is opened, appended to and closed for every line. When it cannot be
// written the line is lost without a trace; this never throws and never touches the process
// locale, so any thread may call it.
void WriteToolLog(std::wstring_view message) noexcept;

// Sends "Tool show NOTICE\uFF1A" + message (full-width colon, nothing appended) to the debugger
// output. Nothing of it reaches the log file.
void ToolShowNotice(std::wstring_view message) noexcept;

// The executable's directory, the platform's separator and `fileName`, never cut. Empty when the
// executable's own path is unknown, so that nothing is ever written to a guessed place.
std::wstring GetPathInModuleDir(std::wstring_view fileName);

}  // namespace fwup
