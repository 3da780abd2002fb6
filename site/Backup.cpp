#include "site/Backup.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

namespace site {

namespace {

// Letters and digits of a text, so that a unit's id names a file on every system.
std::string FileNamePart(std::string_view text) {
    std::string part;
    for (char c : text)
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) part += c;
    return part.empty() ? "unit" : part.substr(0, 32);
}

// The saved time with its separators left out, so that names sort as times do.
std::string TimePart(std::string_view savedAt) {
    std::string part;
    for (char c : savedAt)
        if (c >= '0' && c <= '9') part += c;
    return part;
}

void KeepNewest(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> backups;
    std::error_code ec;
    const std::string extension = std::string(".") + kExtension;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.path().extension() == extension) backups.push_back(entry.path());
    if (backups.size() <= kBackupsKept) return;
    std::sort(backups.begin(), backups.end());
    for (std::size_t i = 0; i + kBackupsKept < backups.size(); ++i)
        std::filesystem::remove(backups[i], ec);
}

}  // namespace

FileResult WriteBackup(const std::filesystem::path& folder, const SiteFile& file,
                       std::string_view stage, std::filesystem::path* written) {
    const std::string stem =
        TimePart(file.savedAt) + "-" + FileNamePart(file.unit.id) + "-" + std::string(stage);
    std::filesystem::path path = folder / (stem + "." + kExtension);
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(path, ec) && n < 1000; ++n)
        path = folder / (stem + "-" + std::to_string(n) + "." + kExtension);
    const FileResult result = WriteSiteFile(path, file);
    if (result != FileResult::Done) return result;
    *written = path;
    KeepNewest(folder);
    return result;
}

}  // namespace site
