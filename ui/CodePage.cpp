#include "ui/CodePage.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "ui/CodePageTable.h"

namespace ui {

namespace {

constexpr unsigned char kFirstNonAscii = 0x80;
constexpr unsigned kLatin1CodePage = 28591;  // Windows' number for ISO 8859-1

struct ActivePage {
    unsigned number = 0;
    CodePageTable units{};
    // (unit, byte) of every byte, by unit, for the way back.
    std::array<std::pair<char16_t, unsigned char>, kCodePageBytes> bytes{};
};

// Undefined bytes become their own value; false when the page is not ASCII below 0x80, as an
// ANSI code page is.
bool Complete(CodePageTable& table) {
    for (std::size_t b = 0; b < kCodePageBytes; ++b) {
        if (table[b] == kNoUnit) table[b] = static_cast<char16_t>(b);
        if (b < kFirstNonAscii && table[b] != b) return false;
    }
    return true;
}

void Install(ActivePage& page, unsigned number, const CodePageTable& table) {
    page.number = number;
    page.units = table;
    for (std::size_t b = 0; b < kCodePageBytes; ++b)
        page.bytes[b] = {table[b], static_cast<unsigned char>(b)};
    std::stable_sort(page.bytes.begin(), page.bytes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

bool Load(ActivePage& page, unsigned number) {
    CodePageTable table;
    table.fill(kNoUnit);
    if (!LoadCodePageTable(number, &table) || !Complete(table)) return false;
    Install(page, number, table);
    return true;
}

ActivePage MakeStartingPage() {
    ActivePage page;
    if (Load(page, StartingCodePage()) || Load(page, kDefaultCodePage)) return page;
    // No table at all (a system without its conversion modules): each byte stands for itself.
    std::fprintf(stderr, "Qubset: code page %u is not available; texts are read as Latin-1\n",
                 kDefaultCodePage);
    CodePageTable table;
    table.fill(kNoUnit);
    Complete(table);
    Install(page, kLatin1CodePage, table);
    return page;
}

ActivePage& Active() {
    static ActivePage page = MakeStartingPage();
    return page;
}

}  // namespace

bool SelectCodePage(unsigned codePage) {
    return codePage == Active().number || Load(Active(), codePage);
}

unsigned ActiveCodePage() {
    return Active().number;
}

char16_t UnicodeOfAnsi(unsigned char byte) {
    return Active().units[byte];
}

bool AnsiOfUnicode(char16_t unit, char* byte) {
    const auto& bytes = Active().bytes;
    const auto found =
        std::lower_bound(bytes.begin(), bytes.end(), unit,
                         [](const auto& entry, char16_t u) { return entry.first < u; });
    if (found == bytes.end() || found->first != unit) return false;
    *byte = static_cast<char>(found->second);
    return true;
}

bool InCodePage(char16_t unit) {
    char ignored = 0;
    return AnsiOfUnicode(unit, &ignored);
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
        char byte = 0;
        if (!AnsiOfUnicode(static_cast<char16_t>(c), &byte)) return false;
        *ansi += byte;
    }
    return true;
}

}  // namespace ui
