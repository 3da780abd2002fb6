// The version record where there is no version resource: a marked record embedded in the
// executable, found by its marker.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

#include "ui/VersionInfo.h"

namespace {

// Spelled in two halves so that this search never finds itself in the program's own bytes.
std::string Marker() {
    return std::string("QUBSET-VERSION") + "-RECORD";
}

constexpr std::size_t kMaxExecutableBytes = 256u << 20;

}  // namespace

std::string VersionText(const std::string& path, const std::string& name) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return MissingVersionText(name);
    std::vector<char> bytes;
    bytes.reserve(1 << 20);
    char chunk[1 << 16];
    while (file && bytes.size() < kMaxExecutableBytes) {
        file.read(chunk, sizeof chunk);
        bytes.insert(bytes.end(), chunk, chunk + file.gcount());
    }
    const std::string marker = Marker();
    const auto found = std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end());
    if (found == bytes.end()) return MissingVersionText(name);
    const auto at = static_cast<std::size_t>(found - bytes.begin());
    if (bytes.size() - at < sizeof(EmbeddedVersion)) return " error 2";
    EmbeddedVersion record;
    std::memcpy(&record, &bytes[at], sizeof record);
    if (record.signature != kVersionSignature) return "error 1";
    return FormatVersion(record.fileVersionMS);
}
