// Secrets out of what is shown or kept: the bytes of the named fields marked secret, masked
// in a frame's payload as it travels, lengths and terminators kept.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fields {

// Every masked byte becomes this one.
inline constexpr std::uint8_t kMaskByte = '*';

// Masks the secrets of a request payload, chosen by its command byte (the configuration image,
// the dialling request). True when a byte changed.
bool MaskRequestSecrets(std::span<std::uint8_t> payload);
// The same for the payload of a reply to `command` (the text table).
bool MaskReplySecrets(int command, std::span<std::uint8_t> payload);
// A UTF-8 text masked for showing: one mask byte for each of its characters.
std::string MaskedText(std::string_view utf8);

}  // namespace fields
