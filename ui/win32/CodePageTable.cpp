// Tables from Windows itself, for the system's ANSI code page.
#include "ui/CodePageTable.h"

#include <windows.h>

namespace ui {

bool LoadCodePageTable(unsigned codePage, CodePageTable* table) {
    CPINFO info{};
    if (!GetCPInfo(codePage, &info) || info.MaxCharSize != 1) return false;
    for (std::size_t b = 0; b < kCodePageBytes; ++b) {
        const char byte = static_cast<char>(b);
        wchar_t unit = 0;
        if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &byte, 1, &unit, 1) == 1)
            (*table)[b] = static_cast<char16_t>(unit);
    }
    return true;
}

// A double-byte one fails to load, and the default stands in for it.
unsigned StartingCodePage() {
    return GetACP();
}

}  // namespace ui
