// The version record on Windows: the executable's VERSIONINFO resource.
#include "ui/VersionInfo.h"

#include <windows.h>

#include <vector>

std::string VersionText(const std::string& path, const std::string& name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return MissingVersionText(name);
    std::vector<char> record(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, record.data())) return " error 2";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return "error 1";
    return FormatVersion(fixed->dwFileVersionMS);
}
