#include "device/Secrets.h"

#include <algorithm>
#include <string_view>

#include "device/Fields.h"
#include "device/Layout.h"

using namespace layout;

namespace fields {

namespace {

bool MaskSpan(std::span<std::uint8_t> bytes) {
    bool changed = false;
    for (std::uint8_t& b : bytes) {
        if (b == 0 || b == kMaskByte) continue;
        b = kMaskByte;
        changed = true;
    }
    return changed;
}

// The secret part of the text of one slot, as offsets into it.
std::pair<std::size_t, std::size_t> SecretSpan(int slot, std::string_view text) {
    for (const Field& f : NamedFields()) {
        if (!f.secret) continue;
        if (f.place == Place::Slot && static_cast<int>(f.at) == slot) return {0, text.size()};
        if (f.place == Place::ApnPart && slot == kSlotApnLogin) return ApnPasswordSpan(text);
    }
    return {0, 0};
}

// Texts in slot order from slot 1 on, each ended by its terminator (the last perhaps cut).
bool MaskTexts(std::span<std::uint8_t> texts) {
    bool changed = false;
    std::size_t at = 0;
    for (int slot = 1; slot <= kSlotCount && at < texts.size(); ++slot) {
        const auto begin = texts.begin() + static_cast<std::ptrdiff_t>(at);
        const auto length = static_cast<std::size_t>(std::find(begin, texts.end(), 0) - begin);
        const std::string_view text(reinterpret_cast<const char*>(&*begin), length);
        const auto [from, to] = SecretSpan(slot, text);
        changed |= MaskSpan(texts.subspan(at + from, to - from));
        at += length + 1;
    }
    return changed;
}

bool MaskImage(std::span<std::uint8_t> image) {
    const Field* pin = FindField("sim.pin");
    const std::size_t pinAt = kImageSettings + pin->at;
    bool changed = false;
    if (image.size() > pinAt)
        changed = MaskSpan(image.subspan(pinAt, std::min(pin->size, image.size() - pinAt)));
    if (image.size() > kImageTexts) changed |= MaskTexts(image.subspan(kImageTexts));
    return changed;
}

// Command, number, 0, password, 0, ',', protocol.
bool MaskDialRequest(std::span<std::uint8_t> request) {
    const auto number = std::find(request.begin() + 1, request.end(), 0);
    if (number == request.end()) return false;
    const auto from = number + 1;
    return MaskSpan({from, std::find(from, request.end(), 0)});
}

}  // namespace

bool MaskRequestSecrets(std::span<std::uint8_t> payload) {
    if (payload.empty()) return false;
    switch (payload[0]) {
        case command::kWriteConfiguration:
            return MaskImage(payload);
        case command::kDialRequest:
            return MaskDialRequest(payload);
        default:
            return false;
    }
}

bool MaskReplySecrets(int command, std::span<std::uint8_t> payload) {
    return command == command::kReadStringTable && MaskTexts(payload);
}

std::string MaskedText(std::string_view utf8) {
    constexpr unsigned char kContinuationMask = 0xC0, kContinuation = 0x80;
    const auto characters = std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & kContinuationMask) != kContinuation;
    });
    return std::string(static_cast<std::size_t>(characters), static_cast<char>(kMaskByte));
}

}  // namespace fields
