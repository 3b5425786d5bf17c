#pragma once

#include <string>
#include <string_view>

namespace fwup {

// Appends one line, "[MM/DD hh:mm:ss] " + message + "\r\n" in text-mode form (each line feed
// stored as CR LF, so the line ends in CR CR LF) and code page 936, to the file ToolLogPath names.
// The file is opened, appended to and closed for every line. When it cannot be written the line is
// lost without a trace; this never throws and never touches the process locale, so any thread may
// call it.
void WriteToolLog(std::wstring_view message) noexcept;

// Names what this process works on in every later line: when `subject` is not empty, a line's
// message is written as subject + ": " + message, so that the lines of several processes sharing
// one log tell their printers apart. The caller makes `subject` safe to show. Meant to be set once
// before the process's threads start; any thread may call WriteToolLog meanwhile all the same.
void SetToolLogSubject(std::wstring_view subject);

// Sends "Tool show NOTICE\uFF1A" + message (full-width colon, nothing appended) to the debugger
// output. Nothing of it reaches the log file.
void ToolShowNotice(std::wstring_view message) noexcept;

// The file the tool log is appended to now: "Tool.log" beside the executable, or on Linux, where
// that cannot be written, under the user's state directory. Empty when there is nowhere to write.
// The console program names it when a run fails.
std::wstring ToolLogPath();

// The executable's directory, the platform's separator and `fileName`, never cut. Empty when the
// executable's own path is unknown, so that nothing is ever written to a guessed place.
std::wstring GetPathInModuleDir(std::wstring_view fileName);

}  // namespace fwup
