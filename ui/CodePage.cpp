#include "ui/CodePage.h"

#include <string>

namespace ui {

namespace {

// Windows-1252 at 0x80..0x9F; the rest of the upper half is Latin-1. Built here rather than
// asked of a system, whose answer for the five undefined bytes differs between versions.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char16_t UnicodeOfAnsi(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char16_t>(byte);
}

char AnsiOfUnicode(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == unit) return static_cast<char>(0x80 + i);
    return '?';
}

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string Utf8OfAnsi(std::string_view ansi) {
    std::string out;
    for (char c : ansi) AppendUtf8(out, UnicodeOfAnsi(static_cast<unsigned char>(c)));
    return out;
}

namespace {

// One code point of valid UTF-8 at `at`, moving `at` past it; false when there is none.
bool NextCodePoint(std::string_view s, std::size_t& at, char32_t* c) {
    const auto lead = static_cast<unsigned char>(s[at]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 0;
    if (length == 0 || at + length > s.size()) return false;
    char32_t value = length == 1 ? lead : lead & (length == 2 ? 0x1F : 0x0F);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[at + i]);
        if ((next >> 6) != 2) return false;
        value = (value << 6) | (next & 0x3F);
    }
    at += length;
    *c = value;
    return true;
}

}  // namespace

bool AnsiOfUtf8(std::string_view utf8, std::string* ansi) {
    ansi->clear();
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        if (!NextCodePoint(utf8, at, &c) || c > 0xFFFF) return false;
        const char byte = AnsiOfUnicode(static_cast<char16_t>(c));
        if (byte == '?' && c != U'?') return false;
        *ansi += byte;
    }
    return true;
}

}  // namespace ui
