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

constexpr char16_t kFirstControl = 0x80;  // C1, which no code page gives a letter
constexpr char16_t kLastControl = 0x9F;
constexpr char16_t kFirstPrivate = 0xE000;  // where Windows puts some undefined bytes
constexpr char16_t kLastPrivate = 0xF8FF;

bool Undefined(char16_t unit) {
    return unit == kNoUnit || (unit >= kFirstControl && unit <= kLastControl) ||
           (unit >= kFirstPrivate && unit <= kLastPrivate);
}

// Undefined bytes become their stand-ins; false when the page is not ASCII below 0x80, as an
// ANSI code page is.
bool Complete(CodePageTable& table) {
    for (std::size_t b = 0; b < kCodePageBytes; ++b) {
        if (b < kFirstNonAscii) {
            if (table[b] == kNoUnit) table[b] = static_cast<char16_t>(b);
            if (table[b] != b) return false;
        } else if (Undefined(table[b])) {
            table[b] = static_cast<char16_t>(kStandInOfByte + b);
        }
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
    for (std::size_t b = 0; b < kCodePageBytes; ++b) table[b] = static_cast<char16_t>(b);
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

constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kLastUnit = 0xFFFF;  // beyond it no code page has a character
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr unsigned char kTrailMask = 0xC0;  // a trail byte's fixed bits, and their value
constexpr unsigned char kTrail = 0x80;
constexpr unsigned kTrailBits = 6;

struct Utf8Form {
    unsigned char leadMask, lead;  // the lead byte's fixed bits and their value
    char32_t least;                // the smallest code point that needs this form
};
// By the number of trail bytes, 0 to 3.
constexpr Utf8Form kUtf8Forms[] = {
    {0x80, 0x00, 0}, {0xE0, 0xC0, 0x80}, {0xF0, 0xE0, 0x800}, {0xF8, 0xF0, 0x10000}};

// One code point of valid UTF-8 at `at`, moving `at` past it; false when there is none: a
// stray or truncated sequence, an overlong form, a surrogate or beyond U+10FFFF.
bool NextCodePoint(std::string_view s, std::size_t& at, char32_t* c) {
    const auto lead = static_cast<unsigned char>(s[at]);
    std::size_t trail = 0;
    while (trail < std::size(kUtf8Forms) &&
           (lead & kUtf8Forms[trail].leadMask) != kUtf8Forms[trail].lead)
        ++trail;
    if (trail == std::size(kUtf8Forms) || s.size() - at <= trail) return false;
    char32_t value = lead & static_cast<unsigned char>(~kUtf8Forms[trail].leadMask);
    for (std::size_t i = 1; i <= trail; ++i) {
        const auto next = static_cast<unsigned char>(s[at + i]);
        if ((next & kTrailMask) != kTrail) return false;
        value = (value << kTrailBits) | (next & static_cast<unsigned char>(~kTrailMask));
    }
    if (value < kUtf8Forms[trail].least || value > kLastCodePoint ||
        (value >= kFirstSurrogate && value <= kLastSurrogate))
        return false;
    at += trail + 1;
    *c = value;
    return true;
}

}  // namespace

bool AnsiOfUtf8(std::string_view utf8, std::string* ansi) {
    ansi->clear();
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        if (!NextCodePoint(utf8, at, &c) || c > kLastUnit) return false;
        char byte = 0;
        if (!AnsiOfUnicode(static_cast<char16_t>(c), &byte)) return false;
        *ansi += byte;
    }
    return true;
}

}  // namespace ui
