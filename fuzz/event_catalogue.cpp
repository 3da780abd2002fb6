// Any bytes as the event catalogue: the names stay inside the buffer and within 69
// characters, and a rewrite reads back as the same names.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "device/EventCatalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t n = std::min(size, layout::kEventCatalogueSize);
    std::vector<std::uint8_t> catalogue(data, data + n);
    const EventNames names = CatalogueNames(catalogue.data(), catalogue.size());
    for (const auto& name : names)
        if (name.size() > layout::kEventNameMax || name.find('\0') != std::string::npos)
            std::abort();
    std::vector<std::uint8_t> rewritten(layout::kEventCatalogueSize, 0xEE);
    const std::size_t written = WriteCatalogue(rewritten.data(), rewritten.size(), names);
    if (written > layout::kEventCount * (layout::kEventNameMax + 1)) std::abort();
    if (CatalogueNames(rewritten.data(), rewritten.size()) != names) std::abort();
    return 0;
}
