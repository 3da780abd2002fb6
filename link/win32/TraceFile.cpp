#include "link/TraceFile.h"

#include <windows.h>

#include <string>

#include "link/SystemError.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Rotation is decided under a lock on one byte no trace ever reaches: locks on Windows bar
// writes to what they cover, and the lines must keep coming from every program.
constexpr DWORD kLockOffsetLow = 0;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD kLockLength = 1;

std::string Reason(DWORD error) {
    return SystemErrorText(static_cast<int>(error));
}

HANDLE OpenForAppend(const std::filesystem::path& path) {
    // FILE_FLAG_OPEN_REPARSE_POINT: a link is opened as itself, never followed. Without
    // FILE_WRITE_DATA every write goes to the end; reading is what a lock asks for.
    return CreateFileW(path.c_str(),
                       FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                       kShareAll, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool IsRegularFile(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
           (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

// Whether the file at `path` is the one `h` has open (the same volume and file index).
bool IsAtName(HANDLE h, const std::filesystem::path& path) {
    const HANDLE named =
        CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION mine{}, atName{};
    const bool same =
        GetFileInformationByHandle(h, &mine) && GetFileInformationByHandle(named, &atName) &&
        mine.dwVolumeSerialNumber == atName.dwVolumeSerialNumber &&
        mine.nFileIndexHigh == atName.nFileIndexHigh && mine.nFileIndexLow == atName.nFileIndexLow;
    CloseHandle(named);
    return same;
}

OVERLAPPED LockPlace() {
    OVERLAPPED at{};
    at.Offset = kLockOffsetLow;
    at.OffsetHigh = kLockOffsetHigh;
    return at;
}

}  // namespace

bool TraceFile::StartsAsTrace(const std::filesystem::path& path, std::string_view signature) {
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
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

// Who may read the file is its folder's inherited permissions, the user's own local
// application data: there is no mode to narrow.
void TraceFile::MakePrivate() {}

bool TraceFile::OpenAtName(std::string* error) {
    const HANDLE h = OpenForAppend(m_path);
    if (h == INVALID_HANDLE_VALUE) {
        if (error) *error = Reason(GetLastError());
        return false;
    }
    if (!IsRegularFile(h)) {
        if (error) *error = kNotRegular;
        CloseHandle(h);
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
    if (!GetFileSizeEx(m_handle, &size)) return false;
    if (static_cast<std::uint64_t>(size.QuadPart) <= maxBytes && IsAtName(m_handle, m_path))
        return false;
    // One program at a time decides: the others wait here, then find the name moved on.
    OVERLAPPED at = LockPlace();
    const bool locked = LockFileEx(m_handle, LOCKFILE_EXCLUSIVE_LOCK, 0, kLockLength, 0, &at);
    if (IsAtName(m_handle, m_path)) {
        // Every trace opens its file with delete sharing, so the full one can move aside while
        // another program still writes to it.
        std::filesystem::path rotated = m_path;
        rotated += ".1";
        MoveFileExW(m_path.c_str(), rotated.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    const HANDLE old = m_handle;
    m_handle = nullptr;
    const bool reopened = OpenAtName(nullptr);
    if (locked) {
        at = LockPlace();
        UnlockFileEx(old, 0, kLockLength, 0, &at);
    }
    if (!reopened) {
        m_handle = old;  // keep the file we had rather than lose the trace
        return false;
    }
    CloseHandle(old);
    LARGE_INTEGER now{};
    return GetFileSizeEx(m_handle, &now) && now.QuadPart == 0;
}
