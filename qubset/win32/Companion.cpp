// qubset.com, beside Qubset.exe: cmd and PowerShell neither wait for a program of the GUI
// subsystem nor give it their console, and cmd takes qubset.com first when the user types
// "qubset". This starts Qubset.exe with the same arguments and its own standard handles,
// waits for it and returns its exit status.
#include <windows.h>

#include <string>

#include "qubset/CommandLine.h"
#include "qubset/win32/Console.h"

namespace {

constexpr wchar_t kProgramFile[] = L"Qubset.exe";
// Qubset.exe could not be started at all (as a POSIX shell says of a program it cannot run).
constexpr DWORD kCannotStartStatus = 126;
// The longest path the system has, in characters.
constexpr DWORD kMaxPath = 32768;

std::wstring ProgramBeside() {
    std::wstring path(kMaxPath, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), kMaxPath));
    path.resize(path.find_last_of(L"\\/") + 1);  // npos + 1 is 0: no folder
    return path + kProgramFile;
}

// What follows the program's own name, as the system splits a command line: a quoted first
// word ends at the next quote, an unquoted one at a blank. The rest goes on as it came.
const wchar_t* ArgumentsOf(const wchar_t* line) {
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"') ++line;
        return *line ? line + 1 : line;
    }
    while (*line && *line != L' ' && *line != L'\t') ++line;
    return line;
}

// The child gets a handle of its own to each of ours; without one it gets none.
HANDLE Inheritable(DWORD which) {
    const HANDLE h = GetStdHandle(which);
    HANDLE copy = nullptr;
    if (h == nullptr || h == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copy, 0, TRUE,
                         DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

void SayCannotStart(const std::wstring& program, DWORD error) {
    wchar_t* reason = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
    std::string why = reason ? NarrowUtf8(reason) : "system error " + std::to_string(error);
    LocalFree(reason);
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r')) why.pop_back();
    WriteStandard(Standard::Error, std::string(kCommandName) + ": cannot start " +
                                       NarrowUtf8(program.c_str()) + ": " + why + "\n");
}

// Closing the console or Ctrl+C ends this program, and with it Qubset.exe, as a terminal
// ends the program in it.
HANDLE JobEndingWithUs() {
    const HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

}  // namespace

int main() {
    const std::wstring program = ProgramBeside();
    std::wstring line = L"\"" + program + L"\"" + ArgumentsOf(GetCommandLineW());
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = Inheritable(STD_INPUT_HANDLE);
    start.hStdOutput = Inheritable(STD_OUTPUT_HANDLE);
    start.hStdError = Inheritable(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                        nullptr, nullptr, &start, &child)) {
        SayCannotStart(program, GetLastError());
        return static_cast<int>(kCannotStartStatus);
    }
    const HANDLE job = JobEndingWithUs();
    if (job) AssignProcessToJobObject(job, child.hProcess);
    ResumeThread(child.hThread);
    CloseHandle(child.hThread);
    // As long as Qubset.exe runs: the shell waits as long, which is what this program is for.
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = kCannotStartStatus;
    GetExitCodeProcess(child.hProcess, &status);
    return static_cast<int>(status);
}
