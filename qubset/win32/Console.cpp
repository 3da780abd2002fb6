#include "qubset/win32/Console.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "ui/win32/Text.h"

namespace {

// WriteConsoleW takes bounded pieces; a surrogate pair is never cut between two.
constexpr std::size_t kConsoleChunk = 4096;

bool HasHandle(HANDLE h) {
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

bool WriteToConsole(HANDLE h, const std::string& text) {
    const std::wstring wide = ui::WidenUtf8(text.c_str());
    for (std::size_t done = 0; done < wide.size();) {
        std::size_t count = std::min(kConsoleChunk, wide.size() - done);
        if (done + count < wide.size() && IS_HIGH_SURROGATE(wide[done + count - 1])) --count;
        DWORD written = 0;
        if (!WriteConsoleW(h, wide.data() + done, static_cast<DWORD>(count), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

bool WriteBytes(HANDLE h, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::string NarrowUtf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    narrow.pop_back();  // the terminator
    return narrow;
}

void WriteStandard(Standard stream, const std::string& utf8) {
    const HANDLE h =
        GetStdHandle(stream == Standard::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (utf8.empty() || !HasHandle(h)) return;
    if (GetConsoleMode(h, &mode))
        WriteToConsole(h, utf8);
    else
        WriteBytes(h, utf8);
}

std::vector<std::string> CommandLineArguments() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    if (!words) return arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(NarrowUtf8(words[i]));
    LocalFree(words);
    return arguments;
}

bool PrepareProgressStream() {
    const HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
    if (HasHandle(h) && GetFileType(h) == FILE_TYPE_CHAR) return true;
    _setmode(_fileno(stderr), _O_BINARY);
    return false;
}

int PrintCommandOutput(const CommandOutput& output) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (HasHandle(out) || HasHandle(err)) {
        WriteStandard(Standard::Output, output.out);
        WriteStandard(Standard::Error, output.err);
        return output.status;
    }
    const std::string& text = output.err.empty() ? output.out : output.err;
    if (!text.empty())
        MessageBoxW(nullptr, ui::WidenUtf8(text.c_str()).c_str(), L"Qubset",
                    MB_OK | (output.err.empty() ? MB_ICONINFORMATION : MB_ICONERROR));
    return output.status;
}
