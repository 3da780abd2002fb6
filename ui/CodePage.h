// Windows-1252, the code page of the device's texts and of the language files. Each backend
// converts between it and its toolkit's UTF-16 through these two.
#pragma once

#include <string>
#include <string_view>

namespace ui {

// The UTF-16 unit of a code-page byte. The five bytes the code page leaves undefined map to
// the control characters of the same value, as Windows' own table maps them, so every byte
// comes back unchanged.
char16_t UnicodeOfAnsi(unsigned char byte);
// The code-page byte of a UTF-16 unit, '?' when the code page has none.
char AnsiOfUnicode(char16_t unit);

// A code-page text in UTF-8, and back; false when a character has no place in the code page
// (never a stand-in '?') or the UTF-8 is not valid.
std::string Utf8OfAnsi(std::string_view ansi);
bool AnsiOfUtf8(std::string_view utf8, std::string* ansi);

}  // namespace ui
