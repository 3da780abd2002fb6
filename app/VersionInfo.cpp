#include "app/VersionInfo.h"

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include <vector>
#else
#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>
#endif

std::string FormatVersion(std::uint32_t fileVersionMS) {
    char text[24];
    std::snprintf(text, sizeof text, "%d.%02d", static_cast<int>(fileVersionMS >> 16),
                  static_cast<int>(fileVersionMS & 0xFFFF));
    return text;
}

namespace {

std::string Missing(const std::string& name) { return " 0 " + name; }

}  // namespace

#ifdef _WIN32

std::string VersionText(const std::string& path, const std::string& name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return Missing(name);
    std::vector<char> record(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, record.data())) return " error 2";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return "error 1";
    return FormatVersion(fixed->dwFileVersionMS);
}

#else

namespace {

// Spelled in two halves so that this search never finds itself in the program's own bytes.
std::string Marker() { return std::string("QUBSET-VERSION") + "-RECORD"; }

constexpr std::size_t kMaxExecutableBytes = 256u << 20;

}  // namespace

std::string VersionText(const std::string& path, const std::string& name) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return Missing(name);
    std::vector<char> bytes;
    bytes.reserve(1 << 20);
    char chunk[1 << 16];
    while (file && bytes.size() < kMaxExecutableBytes) {
        file.read(chunk, sizeof chunk);
        bytes.insert(bytes.end(), chunk, chunk + file.gcount());
    }
    const std::string marker = Marker();
    const auto found = std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end());
    if (found == bytes.end()) return Missing(name);
    const auto at = static_cast<std::size_t>(found - bytes.begin());
    if (bytes.size() - at < sizeof(EmbeddedVersion)) return " error 2";
    EmbeddedVersion record;
    std::memcpy(&record, &bytes[at], sizeof record);
    if (record.signature != kVersionSignature) return "error 1";
    return FormatVersion(record.fileVersionMS);
}

#endif
