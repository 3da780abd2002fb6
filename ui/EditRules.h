// The rules of what can be typed into an edit, the same on every backend.
#pragma once

#include <algorithm>

#include "ui/CodePage.h"

namespace ui {

// True when `after` holds a character other than '0'..'9' that `before` does not hold: the
// non-digits of `after`, in order, are not a subsequence of those of `before`. For the
// wizard's 8-bit texts and for a backend's own strings alike.
template <class Text>
bool GainsNonDigit(const Text& before, const Text& after) {
    auto kept = before.begin();
    for (const auto c : after) {
        if (c >= '0' && c <= '9') continue;
        kept = std::find(kept, before.end(), c);
        if (kept == before.end()) return true;
        ++kept;
    }
    return false;
}

// True when `text` holds a character the process's code page has no byte for, which would
// reach the device as '?'. For a backend's UTF-16 strings.
template <class Text>
bool HoldsForeignCharacter(const Text& text) {
    return std::any_of(text.begin(), text.end(),
                       [](auto unit) { return !InCodePage(static_cast<char16_t>(unit)); });
}

// True when `after` is longer than `maxLength` (negative: no limit) without being shorter than
// `before`: a change that only shortens a text already too long is let through.
template <class Text>
bool GrowsPastLimit(const Text& before, const Text& after, long maxLength) {
    const auto length = static_cast<long>(after.size());
    return maxLength >= 0 && length > maxLength && length >= static_cast<long>(before.size());
}

}  // namespace ui
