// Any file as an event file: exactly 20 bytes become the mask; any other file is refused with a
// reason and leaves the mask as it was.
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
    const bool taken = LoadEventFile(path, EventMask(mask, sizeof mask), &error);
    if (taken != (size == sizeof mask) || taken == !error.empty()) std::abort();
    for (std::size_t i = 0; i < sizeof mask; ++i)
        if (mask[i] != (taken ? data[i] : 0xA5)) std::abort();
    return 0;
}
