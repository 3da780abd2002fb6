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

namespace {

void MakeMissingFolders(const std::filesystem::path& folder) {
    std::error_code ignored;  // a folder that cannot be made shows when the file is opened
    if (folder.empty() || std::filesystem::exists(folder, ignored)) return;
    if (folder.has_relative_path() && folder.parent_path() != folder)
        MakeMissingFolders(folder.parent_path());
    if (std::filesystem::create_directory(folder, ignored))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, ignored);
}

// Our own folder, left open to others by hand or by an earlier version, is closed again; a
// link there is not ours to change.
void ClosePrivateFolder(const std::filesystem::path& folder) {
    using std::filesystem::perms;
    std::error_code ignored;
    const auto status = std::filesystem::symlink_status(folder, ignored);
    if (!std::filesystem::is_directory(status)) return;
    if ((status.permissions() & (perms::group_all | perms::others_all)) == perms::none) return;
    std::filesystem::permissions(folder, perms::owner_all, std::filesystem::perm_options::replace,
                                 ignored);
}

std::filesystem::path StateFolder() {
    const std::filesystem::path state = ui::UserStateDirectory();
    return state.empty() ? state : state / "Miltra";
}

}  // namespace

void MakePrivateFolders(const std::filesystem::path& folder) {
    MakeMissingFolders(folder);
    ClosePrivateFolder(folder);
}

std::filesystem::path DefaultTracePath() {
    const std::filesystem::path folder = StateFolder();
    if (folder.empty()) return folder;
    MakePrivateFolders(folder);
    return folder / ui::PathFromText(ui::ApplicationName() + "-trace.log");
}

std::filesystem::path BackupFolder() {
    const std::filesystem::path state = StateFolder();
    if (state.empty()) return state;
    MakePrivateFolders(state);
    MakePrivateFolders(state / "backups");
    return state / "backups";
}
