// SHA-256 (FIPS 180-4), small and dependency-free: site files carry it over their values so
// that damage and hand edits show.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace site {

std::array<std::uint8_t, 32> Sha256(std::string_view bytes);
// The digest as 64 lower-case hex digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace site
