// Texts at the edge of the Win32 backend: the wizard's code-page bytes and the templates'
// UTF-8 become the UTF-16 of the W API, and back.
#pragma once

#include <string>
#include <string_view>

namespace ui {

std::wstring WidenAnsi(std::string_view bytes);
// Characters the code page cannot hold, which no edit takes, become '?'.
std::string NarrowAnsi(std::wstring_view text);
std::wstring WidenUtf8(const char* text);

}  // namespace ui
