// The platform's part of the code page: where its tables come from.
#pragma once

#include <array>
#include <cstddef>

namespace ui {

inline constexpr std::size_t kCodePageBytes = 256;
// A byte the code page leaves undefined.
inline constexpr char16_t kNoUnit = 0xFFFF;

using CodePageTable = std::array<char16_t, kCodePageBytes>;

// The UTF-16 unit of each byte of `codePage`, kNoUnit for bytes it leaves undefined; false
// when the platform has no such code page or it takes more than one byte a character.
bool LoadCodePageTable(unsigned codePage, CodePageTable* table);
// The code page the process starts with.
unsigned StartingCodePage();

}  // namespace ui
