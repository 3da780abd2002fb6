#include "device/Bytes.h"

#include <algorithm>
#include <cstring>

std::string BoundedText(const std::uint8_t* field, std::size_t size) {
    const auto* end = std::find(field, field + size, 0);
    return std::string(reinterpret_cast<const char*>(field), static_cast<std::size_t>(end - field));
}

bool StoreText(std::uint8_t* field, std::size_t size, std::string_view text) {
    if (text.size() + 1 > size) return false;
    // copy_n, not memcpy: an empty view may have no data pointer at all.
    std::copy_n(text.data(), text.size(), field);
    field[text.size()] = 0;
    return true;
}

void StorePadded(std::uint8_t* field, std::size_t size, std::string_view text) {
    const std::size_t n = std::min(size, text.size());
    std::copy_n(text.data(), n, field);
    std::memset(field + n, 0, size - n);
}
