#include "app/cli/child_process.h"

#include <windows.h>

#include <mutex>
#include <utility>

#include "app/cli/win32/command_line.h"
#include "app/cli/win32/handle_list.h"
#include "base/wide_text.h"
#include "base/win32/unique_win32.h"

namespace fwup::cli {
namespace {

using win32::UniqueFileHandle;
using win32::UniqueKernelHandle;

std::string ErrorText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text != nullptr ? text : L"", length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    return (message.empty() ? std::string() : ToUtf8(message) + " ") + "(error " +
           std::to_string(code) + ")";
}

std::string Hex8(DWORD value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        text += kDigits[(value >> shift) & 0xF];
    }
    return text;
}

class Win32ChildProcess final : public ChildProcess {
  public:
    Win32ChildProcess(UniqueKernelHandle process, UniqueFileHandle output, UniqueFileHandle input)
        : process_(std::move(process)), output_(std::move(output)), input_(std::move(input)) {}

    std::string Read() override {
        char buffer[4096];
        DWORD got = 0;
        // A zero-byte write by the child completes a read with nothing: that is not the end.
        do {
            if (!ReadFile(output_.get(), buffer, sizeof buffer, &got, nullptr)) {
                return {};
            }
        } while (got == 0 && PipeStillOpen());
        return std::string(buffer, got);
    }

    void Interrupt() override {
        std::lock_guard<std::mutex> lock(inputMutex_);
        if (!input_.valid()) {
            return;
        }
        static constexpr char kLine[] = "interrupt\n";
        DWORD written = 0;
        // A child that has already ended cannot be told anything more: the write fails, and the
        // close below is all that is left to do.
        WriteFile(input_.get(), kLine, sizeof kLine - 1, &written, nullptr);
        input_.reset();
    }

    ChildEnd Wait() override {
        ChildEnd end;
        if (WaitForSingleObject(process_.get(), INFINITE) != WAIT_OBJECT_0) {
            end.how = "could not be waited for: " + ErrorText(GetLastError());
            return end;
        }
        DWORD code = 0;
        if (!GetExitCodeProcess(process_.get(), &code)) {
            end.how = "left no exit code: " + ErrorText(GetLastError());
            return end;
        }
        // An unhandled exception ends a process with its NTSTATUS (0xC0000005 for an access
        // violation); no program of ours exits with such a code on purpose.
        if (code >= 0xC0000000u) {
            end.how = "ended by status " + Hex8(code);
            return end;
        }
        end.exited = true;
        end.exitCode = static_cast<int>(code);
        return end;
    }

  private:
    bool PipeStillOpen() {
        DWORD available = 0;
        return PeekNamedPipe(output_.get(), nullptr, 0, nullptr, &available, nullptr) != 0;
    }

    UniqueKernelHandle process_;
    UniqueFileHandle output_;
    std::mutex inputMutex_;
    UniqueFileHandle input_;
};

// One end of a new pipe for the child; the other, ours, is never inheritable.
struct Pipe {
    UniqueFileHandle read;
    UniqueFileHandle write;
};

bool MakePipe(Pipe& pipe, bool childReads) {
    if (!CreatePipe(pipe.read.put(), pipe.write.put(), nullptr, 0)) {
        return false;
    }
    const HANDLE childEnd = childReads ? pipe.read.get() : pipe.write.get();
    return SetHandleInformation(childEnd, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT) != 0;
}

// An inheritable copy of our standard error, so the process's own handle is left as it is.
UniqueFileHandle InheritableStderr() {
    UniqueFileHandle copy;
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE) {
        DuplicateHandle(GetCurrentProcess(), error, GetCurrentProcess(), copy.put(), 0, TRUE,
                        DUPLICATE_SAME_ACCESS);
    }
    return copy;
}

// From making the child's ends inheritable until our copies of them are closed, no other child
// of ours may start: without a handle list it would inherit them and hold the pipes open, and
// its parent would never see their end.
std::mutex& StartMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

std::unique_ptr<ChildProcess> StartChildProcess(const std::wstring& program,
                                                const std::vector<std::string>& args,
                                                std::string& error) {
    std::wstring commandLine;
    if (!BuildCommandLine(program, args, commandLine)) {
        error = "cannot start " + ToUtf8(program) + ": its name holds a quote or an argument a NUL";
        return nullptr;
    }
    const auto failed = [&](const char* what) {
        const DWORD code = GetLastError();
        error = "cannot start " + ToUtf8(program) + ": " + what + ": " + ErrorText(code);
        return nullptr;
    };

    std::lock_guard<std::mutex> lock(StartMutex());
    Pipe output;
    Pipe input;
    if (!MakePipe(output, false) || !MakePipe(input, true)) {
        return failed("no pipe");
    }
    const UniqueFileHandle stderrCopy = InheritableStderr();
    std::vector<HANDLE> inherited = {input.read.get(), output.write.get()};
    if (stderrCopy.valid() && !IsConsolePseudoHandle(stderrCopy.get())) {
        inherited.push_back(stderrCopy.get());
    }
    const HandleList handleList(inherited);

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input.read.get();
    startup.StartupInfo.hStdOutput = output.write.get();
    startup.StartupInfo.hStdError = stderrCopy.valid() ? stderrCopy.get() : nullptr;
    startup.lpAttributeList = handleList.get();

    // The program by the name given, never looked for along PATH. No new console or process
    // group: a Ctrl-C at the console reaches the child as it reaches us.
    PROCESS_INFORMATION started{};
    const DWORD flags = handleList.get() != nullptr ? EXTENDED_STARTUPINFO_PRESENT : 0;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr,
                        nullptr, &startup.StartupInfo, &started)) {
        return failed("CreateProcessW");
    }
    CloseHandle(started.hThread);
    // Only the child may hold its ends now: our copies would keep its output open after it ends.
    output.write.reset();
    input.read.reset();
    return std::make_unique<Win32ChildProcess>(UniqueKernelHandle(started.hProcess),
                                               std::move(output.read), std::move(input.write));
}

}  // namespace fwup::cli
