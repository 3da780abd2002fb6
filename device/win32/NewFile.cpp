#include "device/NewFile.h"

#include <windows.h>

namespace newfile {

namespace {

HANDLE Native(Handle file) {
    return reinterpret_cast<HANDLE>(file.value);
}

}  // namespace

// Windows keeps who may read a file in its folder's inherited permissions, not in a mode: a
// file of the user's local application data is the user's alone either way.
Created Create(const std::filesystem::path& temp, const std::filesystem::path&, FileAccess,
               Handle* file) {
    // CREATE_NEW fails on any existing name, a link included, and follows none.
    const HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS ? Created::NameTaken : Created::Failed;
    file->value = reinterpret_cast<std::intptr_t>(h);
    return Created::Done;
}

bool WriteAndSync(Handle file, std::string_view bytes) {
    constexpr std::size_t kMaxChunk = 1u << 30;
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(bytes.size() < kMaxChunk ? bytes.size() : kMaxChunk);
        if (!WriteFile(Native(file), bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(Native(file)) != 0;
}

bool Close(Handle file) {
    return CloseHandle(Native(file)) != 0;
}

bool Replace(const std::filesystem::path& temp, const std::filesystem::path& target) {
    return MoveFileExW(temp.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace newfile
