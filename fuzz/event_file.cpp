// Any file as an event file: its first 20 bytes (or fewer) become the mask's leading bytes,
// the rest of the mask keeps its value, nothing more is read.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "pages/EventCatalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                              ("qubset-fuzz-" + std::to_string(getpid()) + ".qbx");
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!file) std::abort();
    }
    std::uint8_t mask[layout::kEventMaskSize];
    std::memset(mask, 0xA5, sizeof mask);
    std::string error;
    if (!LoadEventFile(path, EventMask(mask, sizeof mask), &error)) std::abort();
    const std::size_t taken = std::min(size, sizeof mask);
    if (taken && std::memcmp(mask, data, taken) != 0) std::abort();
    for (std::size_t i = taken; i < sizeof mask; ++i)
        if (mask[i] != 0xA5) std::abort();
    return 0;
}
