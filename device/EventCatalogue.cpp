#include "device/EventCatalogue.h"

#include <algorithm>
#include <cstring>

using namespace layout;

EventNames CatalogueNames(const std::uint8_t* catalogue, std::size_t size) {
    EventNames names;
    std::size_t at = 0;
    for (auto& name : names) {
        if (at >= size) break;
        const auto* begin = catalogue + at;
        const auto* end = std::find(begin, catalogue + size, 0);
        const auto length = static_cast<std::size_t>(end - begin);
        name.assign(reinterpret_cast<const char*>(begin), std::min(length, kEventNameMax));
        at += length + 1;
    }
    return names;
}

std::size_t WriteCatalogue(std::uint8_t* catalogue, std::size_t size, const EventNames& names) {
    std::size_t at = 0;
    for (const auto& name : names) {
        const std::size_t length = std::min(name.size(), kEventNameMax);
        if (at + length + 1 > size) break;
        std::memcpy(catalogue + at, name.data(), length);
        at += length;
        catalogue[at++] = 0;
    }
    return at;
}
