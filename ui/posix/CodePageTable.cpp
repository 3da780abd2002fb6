// Tables from glibc's iconv, asked at run time for each byte alone.
#include "ui/CodePageTable.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "ui/CodePage.h"

namespace ui {

namespace {

constexpr std::size_t kUnitBytes = 2;  // one UTF-16LE unit

// The unit of `byte`; kNoUnit when the code page leaves it undefined; false when the byte
// alone is not a character (the lead byte of a longer one) or makes more than one unit.
bool UnitOf(iconv_t convert, unsigned char byte, char16_t* unit) {
    iconv(convert, nullptr, nullptr, nullptr, nullptr);  // no state from the byte before
    char in = static_cast<char>(byte);
    char out[2 * kUnitBytes] = {};
    char* inAt = &in;
    char* outAt = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    if (iconv(convert, &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1)) {
        if (errno != EILSEQ) return false;
        *unit = kNoUnit;
        return true;
    }
    if (sizeof out - outLeft != kUnitBytes) return false;
    *unit = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                  static_cast<unsigned char>(out[1]) << 8);
    return true;
}

}  // namespace

bool LoadCodePageTable(unsigned codePage, CodePageTable* table) {
    const std::string name = "CP" + std::to_string(codePage);
    const iconv_t convert = iconv_open("UTF-16LE", name.c_str());
    if (convert == reinterpret_cast<iconv_t>(-1)) return false;
    bool single = true;
    for (std::size_t b = 0; b < kCodePageBytes && single; ++b)
        single = UnitOf(convert, static_cast<unsigned char>(b), &(*table)[b]);
    iconv_close(convert);
    return single;
}

unsigned StartingCodePage() {
    return kDefaultCodePage;
}

}  // namespace ui
