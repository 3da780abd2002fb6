// Little-endian numbers and NUL-terminated texts inside fixed byte fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline std::uint16_t ReadLE16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t ReadLE32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void WriteLE16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void WriteLE32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The text of a field: up to its first NUL, never past its last byte.
std::string BoundedText(const std::uint8_t* field, std::size_t size);

// Writes text and a terminator into a field. Refuses (and writes nothing) when the text
// does not fit with its terminator.
bool StoreText(std::uint8_t* field, std::size_t size, std::string_view text);

// Writes at most `size` characters and pads with zero bytes; a text of exactly `size`
// characters has no terminator (account codes, supervisor codes, userCode).
void StorePadded(std::uint8_t* field, std::size_t size, std::string_view text);
