// The values the wizard keeps in the per-user settings store, and the port map's section.
#pragma once

#include <filesystem>

#include "link/PortNames.h"
#include "ui/Settings.h"

// Section and value names of the store.
inline constexpr const char* kSettingSection = "Setting";
inline constexpr const char* kLanguageValue = "Language";
inline constexpr const char* kPhoneValue = "phone";
inline constexpr const char* kProtocolValue = "Protocol DSC";
inline constexpr const char* kTraceValue = "Trace";        // 1: keep a wire trace
inline constexpr const char* kCodePageValue = "CodePage";  // away from Windows: e.g. 1250
inline constexpr const char* kVerifyValue = "Verify";      // 0: no read-back after an upload
inline constexpr const char* kPortsSection = "Ports";
inline constexpr const char* kDiscoverValue = "Discover";

using ui::GetProfileInt;
using ui::GetProfileString;
using ui::WriteProfileInt;
using ui::WriteProfileString;

// The section "Ports": COM<n> = device path, and Discover = false to use only those.
PortSettings ReadPortSettings();

// Makes the code page Setting/CodePage names the process's, away from Windows, where the
// system's rules; one that cannot be had keeps Windows-1252, which is said once on stderr.
void UseCodePageOfSettings();

// Where the wire trace goes when Setting/Trace = 1 asks for one: the per-user state folder
// ($XDG_STATE_HOME, by default ~/.local/state; on Windows the local application data),
// Miltra/<application name>-trace.log. The folder is made when missing. Empty when the system
// has no state folder.
std::filesystem::path DefaultTracePath();
// Creates the folders of `folder` that are missing, each readable by the user alone, and makes
// `folder` itself so when it is open to others.
void MakePrivateFolders(const std::filesystem::path& folder);
// Where the automatic backups go: the state folder's Miltra/backups, made (private) when
// missing, made private again when open to others, as Miltra is. Empty as DefaultTracePath.
std::filesystem::path BackupFolder();
