#pragma once

#include <string>
#include <string_view>

namespace fwup {
class NoticeOutput;
}

namespace fwup::cli {

// Sets the console up for UTF-8 text where it needs telling (Windows).
void PrepareConsole();
bool StdinIsTerminal();
// Whether the terminal on standard output acts on cursor movements (it may be asked to).
bool TerminalTakesEscapes();
bool StdoutIsTerminal();

// Writes UTF-8 text to standard output or standard error and flushes it.
void WriteOut(std::string_view text);
void WriteErr(std::string_view text);

// Reads one line typed at the terminal (without its line end). False at the end of the input,
// on an error, or when an interrupt ended the wait.
bool ReadTerminalLine(std::string& line);

// Where the core's debugger notices go while the console program runs: on Linux standard error
// would mix them into the program's own output, so they go nowhere; Windows keeps its debugger
// output. Null keeps the host's.
NoticeOutput* ConsoleNoticeOutput();

}  // namespace fwup::cli
