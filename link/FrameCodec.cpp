#include "link/FrameCodec.h"

#include <cstring>

namespace frame {

std::uint8_t Checksum(const std::uint8_t* payload, std::size_t length) {
    std::size_t sum = kStart + (length & 0xFF) + ((length >> 8) & 0xFF);
    for (std::size_t i = 0; i < length; ++i) sum += payload[i];
    return static_cast<std::uint8_t>(sum);
}

void Encode(const std::uint8_t* payload, std::size_t length, std::uint8_t* out) {
    out[0] = kStart;
    out[1] = static_cast<std::uint8_t>(length & 0xFF);
    out[2] = static_cast<std::uint8_t>((length >> 8) & 0xFF);
    if (length) std::memcpy(out + kHeaderSize, payload, length);
    out[kHeaderSize + length] = Checksum(payload, length);
}

}  // namespace frame
