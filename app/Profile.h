// The per-user settings store: QSettings in the platform's native format under "Miltra" and
// the application's name (the executable's file name), as the registry keeps it on Windows.
#pragma once

#include <QString>

#include "link/PortNames.h"

// Section and value names of the store.
inline constexpr const char* kSettingSection = "Setting";
inline constexpr const char* kLanguageValue = "Language";
inline constexpr const char* kPhoneValue = "phone";
inline constexpr const char* kProtocolValue = "Protocol DSC";
inline constexpr const char* kTraceValue = "Trace";  // 1: keep a wire trace
inline constexpr const char* kPortsSection = "Ports";

QString GetProfileString(const char* section, const char* entry, const QString& fallback);
void WriteProfileString(const char* section, const char* entry, const QString& value);
int GetProfileInt(const char* section, const char* entry, int fallback);
void WriteProfileInt(const char* section, const char* entry, int value);

// The section "Ports": COM<n> = device path, and Discover = false to use only those.
PortSettings ReadPortSettings();

// Where the wire trace goes when Setting/Trace = 1 asks for one: the per-user state folder
// ($XDG_STATE_HOME, by default ~/.local/state; on Windows the local application data),
// Miltra/<application name>-trace.log. The folder is made when missing.
QString DefaultTracePath();
