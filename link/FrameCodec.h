// The frame on the wire, both directions: 0x7E, payload length (low, high), payload, and the
// 8-bit sum of everything before it. There is no escaping.
#pragma once

#include <cstddef>
#include <cstdint>

namespace frame {
inline constexpr std::uint8_t kStart = 0x7E;
inline constexpr std::size_t kHeaderSize = 3;
inline constexpr std::size_t kOverhead = 4;
inline constexpr std::size_t kMaxPayload = 65531;  // the frame size is kept in 16 bits

// Sum of the start byte, both length bytes and the payload, modulo 256.
std::uint8_t Checksum(const std::uint8_t* payload, std::size_t length);

// Writes the whole frame (length + kOverhead bytes) to `out`.
void Encode(const std::uint8_t* payload, std::size_t length, std::uint8_t* out);
}  // namespace frame
