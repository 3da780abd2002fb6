// What the event list dialog offers, and event selections kept in files. Every file read
// stays inside its 20 bytes, whatever the file holds.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "device/DeviceData.h"
#include "device/EventCatalogue.h"

// The events offered in the basic view when they are not selected.
extern const std::array<std::uint8_t, layout::kEventMaskSize> basicEventMask;

// Event files: the 20 bytes of one event mask.
inline constexpr const char* kEventFileExtension = "qbx";
inline constexpr const char* kEventFileProposedName = "config";
inline constexpr const char* kEventFileFilterLabel = "Config for Qubrin (*.qbx)";
inline constexpr const char* kEventFileFilterPattern = "*.qbx";

// Reads the file's 20 bytes into the mask. False, with the mask untouched and `error` set,
// when the file cannot be read or is not exactly 20 bytes long.
bool LoadEventFile(const std::filesystem::path& path, EventMask mask, std::string* error);
// Writes the 20 bytes to a new file and puts it in the place of `path`, so a failed save
// leaves the old file whole. False with `error` set on failure.
bool SaveEventFile(const std::filesystem::path& path, ConstEventMask mask, std::string* error);
