// The system's half of a whole-file write: a file created only where no name is, written,
// synced and renamed over its target.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "device/SafeFile.h"

namespace newfile {

enum class Created { Done, NameTaken, Failed };

struct Handle {
    std::intptr_t value = -1;
};

// Creates `temp` exclusively, never through a link; its mode is `target`'s when that exists
// and the access is Shared, the user's alone when Private.
Created Create(const std::filesystem::path& temp, const std::filesystem::path& target,
               FileAccess access, Handle* file);
// Every byte, then the file's data on the disk.
bool WriteAndSync(Handle file, std::string_view bytes);
bool Close(Handle file);
// Renames `temp` over `target` and makes the rename itself last.
bool Replace(const std::filesystem::path& temp, const std::filesystem::path& target);

}  // namespace newfile
