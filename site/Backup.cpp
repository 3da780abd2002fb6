#include "site/Backup.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <tuple>
#include <type_traits>
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

constexpr std::size_t kTimeDigits = 14;  // YYYYMMDDHHMMSS
constexpr std::size_t kMaxUnitPart = 32;

struct Found {
    std::string time;
    int copy = 1;  // the n of "-n", when one came before in the same second
    std::filesystem::path path;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAlnum(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A name in ASCII, or "" for any other: no backup's name is anything else.
std::string AsciiName(const std::filesystem::path& name) {
    std::string ascii;
    using Unit = std::make_unsigned_t<std::filesystem::path::value_type>;
    for (const auto c : name.native()) {
        const Unit code = static_cast<Unit>(c);
        if (code == 0 || code >= 0x80) return {};
        ascii += static_cast<char>(code);
    }
    return ascii;
}

// Whether `name` is <time>-<unit>-<stage>[-<n>].qubsite as WriteBackup makes it.
bool ParseBackupName(const std::string& name, Found* found) {
    const std::string extension = std::string(".") + kExtension;
    if (!name.ends_with(extension)) return false;
    std::vector<std::string> parts(1);
    for (char c : std::string_view(name).substr(0, name.size() - extension.size())) {
        if (c == '-')
            parts.emplace_back();
        else if (IsAlnum(c))
            parts.back() += c;
        else
            return false;
    }
    if (parts.size() != 3 && parts.size() != 4) return false;
    const auto all = [](const std::string& part, bool (*is)(char)) {
        return !part.empty() && std::all_of(part.begin(), part.end(), is);
    };
    if (parts[0].size() != kTimeDigits || !all(parts[0], IsDigit)) return false;
    if (parts[1].size() > kMaxUnitPart || !all(parts[1], IsAlnum)) return false;
    if (!all(parts[2], [](char c) { return c >= 'a' && c <= 'z'; })) return false;
    if (parts.size() == 4 && (parts[3].size() > 3 || !all(parts[3], IsDigit))) return false;
    found->time = parts[0];
    found->copy = 1;
    if (parts.size() == 4) {
        found->copy = 0;
        for (char c : parts[3]) found->copy = found->copy * 10 + (c - '0');
    }
    return true;
}

// Our backups in `folder` other than `fresh`; what cannot be read is passed over.
std::vector<Found> OtherBackups(const std::filesystem::path& folder,
                                const std::filesystem::path& fresh) {
    std::vector<Found> backups;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->symlink_status(typeError).type() != std::filesystem::file_type::regular) continue;
        const std::filesystem::path name = it->path().filename();
        Found found;
        if (name == fresh.filename() || !ParseBackupName(AsciiName(name), &found)) continue;
        found.path = it->path();
        backups.push_back(std::move(found));
    }
    return backups;
}

// The fresh backup is always kept. A name that claims a later time than it (a clock set wrong
// once) goes before any other: it must not outlast what was just written.
void KeepNewest(const std::filesystem::path& folder, const std::filesystem::path& fresh,
                const std::string& freshTime) {
    std::vector<Found> others = OtherBackups(folder, fresh);
    if (others.size() < kBackupsKept) return;
    std::sort(others.begin(), others.end(), [&](const Found& a, const Found& b) {
        const bool aSound = a.time <= freshTime, bSound = b.time <= freshTime;
        return std::tie(aSound, a.time, a.copy, a.path) < std::tie(bSound, b.time, b.copy, b.path);
    });
    std::error_code ignored;
    for (std::size_t i = 0; i + kBackupsKept - 1 < others.size(); ++i)
        std::filesystem::remove(others[i].path, ignored);
}

}  // namespace

FileResult WriteBackup(const std::filesystem::path& folder, const SiteFile& file,
                       std::string_view stage, std::filesystem::path* written) {
    if (folder.empty()) return FileResult::CannotOpen;  // never beside wherever we were started
    const std::string time = TimePart(file.savedAt);
    const std::string stem = time + "-" + FileNamePart(file.unit.id) + "-" + std::string(stage);
    std::filesystem::path path = folder / (stem + "." + kExtension);
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(path, ec) && n < 1000; ++n)
        path = folder / (stem + "-" + std::to_string(n) + "." + kExtension);
    const FileResult result = WriteSiteFile(path, file, FileAccess::Private);
    if (result != FileResult::Done) return result;
    *written = path;
    KeepNewest(folder, path, time);
    return result;
}

FileResult BackupRecord(const std::filesystem::path& folder, const DeviceData& data,
                        std::string_view stage, std::string_view source,
                        std::filesystem::path* written) {
    SiteFile file = FromRecord(data, true, UtcNow());
    file.source = source;
    return WriteBackup(folder, file, stage, written);
}

}  // namespace site
