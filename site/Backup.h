// Automatic backups: site files the program writes itself before and after every upload, one
// file per unit and time, passwords included, the newest kBackupsKept kept.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "device/SafeFile.h"
#include "site/SiteFile.h"

namespace site {

inline constexpr std::size_t kBackupsKept = 500;

// What an "after" backup holds, as its file says.
inline constexpr const char* kReadBackSource = "read back from the unit after the upload";
inline constexpr const char* kWrittenSource =
    "as written: the unit could not be read back after the upload";

// Writes `file` into `folder` (which must exist) as <time>-<unit id>-<stage>.qubsite, readable
// by the user alone and never over an earlier backup, then removes the oldest backups beyond
// kBackupsKept. Only regular files of that pattern count, by their time, a time later than the
// new one's counting as the oldest; the new one is never removed, and a failed removal does
// not fail the backup. `written` receives the path.
FileResult WriteBackup(const std::filesystem::path& folder, const SiteFile& file,
                       std::string_view stage, std::filesystem::path* written);
// The record as a backup of `stage`, passwords included, saved now; `source` as the file
// says it (kReadBackSource, kWrittenSource or "").
FileResult BackupRecord(const std::filesystem::path& folder, const DeviceData& data,
                        std::string_view stage, std::string_view source,
                        std::filesystem::path* written);

}  // namespace site
