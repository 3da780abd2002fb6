#include "app/Profile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "ui/CodePage.h"
#include "ui/Services.h"

namespace {

// As the store reads a flag: empty, "0" and "false" in any case are false.
bool ReadsTrue(std::string value) {
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return !value.empty() && value != "0" && value != "false";
}

}  // namespace

PortSettings ReadPortSettings() {
    PortSettings ports;
    for (int n = kFirstComPort; n <= kMaxComPort; ++n) {
        const std::string path = GetProfileString(kPortsSection, "COM" + std::to_string(n), "");
        if (!path.empty()) ports.paths[n] = ui::PathFromText(path).string();
    }
    ports.discover = ReadsTrue(GetProfileString(kPortsSection, kDiscoverValue, "true"));
    return ports;
}

void UseCodePageOfSettings() {
#ifndef _WIN32
    const int asked = GetProfileInt(kSettingSection, kCodePageValue, ui::kDefaultCodePage);
    if (asked > 0 && ui::SelectCodePage(static_cast<unsigned>(asked))) return;
    ui::SelectCodePage(ui::kDefaultCodePage);
    static int saidOf = 0;
    if (asked == saidOf) return;
    saidOf = asked;
    std::fprintf(stderr,
                 "Qubset: Setting/CodePage %d is not a single-byte code page this system "
                 "converts; Windows-1252 is used\n",
                 asked);
#endif
}

void MakePrivateFolders(const std::filesystem::path& folder) {
    std::error_code ignored;  // a folder that cannot be made shows when the file is opened
    if (folder.empty() || std::filesystem::exists(folder, ignored)) return;
    if (folder.has_relative_path() && folder.parent_path() != folder)
        MakePrivateFolders(folder.parent_path());
    if (std::filesystem::create_directory(folder, ignored))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, ignored);
}

std::filesystem::path DefaultTracePath() {
    const std::filesystem::path folder = ui::UserStateDirectory() / "Miltra";
    MakePrivateFolders(folder);
    return folder / ui::PathFromText(ui::ApplicationName() + "-trace.log");
}

std::filesystem::path BackupFolder() {
    const std::filesystem::path folder = ui::UserStateDirectory() / "Miltra" / "backups";
    MakePrivateFolders(folder);
    return folder;
}
