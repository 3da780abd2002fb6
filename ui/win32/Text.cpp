#include "ui/win32/Text.h"

#include <windows.h>

#include "ui/CodePage.h"

namespace ui {

std::wstring WidenAnsi(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.push_back(static_cast<wchar_t>(UnicodeOfAnsi(b)));
    }
    return text;
}

std::string NarrowAnsi(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const wchar_t u : text) {
        char byte = '?';
        AnsiOfUnicode(static_cast<char16_t>(u), &byte);
        bytes.push_back(byte);
    }
    return bytes;
}

std::wstring WidenUtf8(const char* text) {
    if (!text || !*text) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.pop_back();  // the terminator
    return wide;
}

}  // namespace ui
