#include "link/TraceFile.h"

#include <windows.h>

#include <filesystem>
#include <string>

#include "link/SystemError.h"

namespace {

std::wstring Wide(const std::string& path) {
    return std::filesystem::path(path).wstring();
}

std::string Reason(DWORD error) {
    return SystemErrorText(static_cast<int>(error));
}

HANDLE OpenForAppend(const std::string& path) {
    // FILE_FLAG_OPEN_REPARSE_POINT: a link is opened as itself, never followed.
    return CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

}  // namespace

bool TraceFile::StartsAsTrace(const std::string& path, std::string_view signature) {
    const HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::string head(signature.size(), '\0');
    DWORD got = 0;
    const BOOL read = ReadFile(h, head.data(), static_cast<DWORD>(head.size()), &got, nullptr);
    CloseHandle(h);
    return read && (got == 0 || (got == head.size() && head == signature));
}

TraceFile::~TraceFile() {
    Close();
}

bool TraceFile::IsOpen() const {
    return m_handle != nullptr;
}

void TraceFile::Close() {
    if (m_handle) CloseHandle(m_handle);
    m_handle = nullptr;
}

bool TraceFile::OpenAtName(std::string* error) {
    const HANDLE h = OpenForAppend(m_path);
    if (h == INVALID_HANDLE_VALUE) {
        if (error) *error = Reason(GetLastError());
        return false;
    }
    Close();
    m_handle = h;
    return true;
}

bool TraceFile::Append(std::string_view bytes, std::string* error) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) ||
            written == 0) {
            if (error) *error = Reason(GetLastError());
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool TraceFile::Follow(std::uint64_t maxBytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_handle, &size) || static_cast<std::uint64_t>(size.QuadPart) <= maxBytes)
        return false;
    // Every trace opens its file with delete sharing, so the full one can move aside while
    // another program still writes to it.
    MoveFileExW(Wide(m_path).c_str(), Wide(m_path + ".1").c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!OpenAtName(nullptr)) return false;
    LARGE_INTEGER now{};
    return GetFileSizeEx(m_handle, &now) && now.QuadPart == 0;
}
