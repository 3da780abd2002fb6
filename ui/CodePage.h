// The process's ANSI code page: that of the device's texts, of the language files and of the
// site files' conversions. Each backend converts between it and its toolkit's UTF-16 through
// these. On Windows it is the system's; elsewhere Windows-1252 unless the settings name another.
#pragma once

#include <string>
#include <string_view>

namespace ui {

inline constexpr unsigned kDefaultCodePage = 1252;

// Makes `codePage` the process's; false, keeping the one before, when the platform cannot
// give it or it is not a single-byte code page with ASCII below 0x80.
bool SelectCodePage(unsigned codePage);
unsigned ActiveCodePage();

// A byte the code page leaves undefined (or gives a control character or a private unit)
// shows as this plus its value, a private unit nobody types: the byte comes back unchanged,
// yet the Latin-1 character of its value is refused as the code page lacks it.
inline constexpr char16_t kStandInOfByte = 0xF700;

// The UTF-16 unit of a code-page byte, the stand-in for one the code page leaves undefined.
char16_t UnicodeOfAnsi(unsigned char byte);
// The code-page byte of a UTF-16 unit (a stand-in included); false when the code page has none.
bool AnsiOfUnicode(char16_t unit, char* byte);
bool InCodePage(char16_t unit);

// A code-page text in UTF-8, and back; false when a character has no place in the code page
// (never a stand-in '?') or the UTF-8 is not valid.
std::string Utf8OfAnsi(std::string_view ansi);
bool AnsiOfUtf8(std::string_view utf8, std::string* ansi);

}  // namespace ui
