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

// Reads up to 20 bytes of the file into the mask (a shorter file replaces only its leading
// bytes). False, with the mask untouched and `error` set, when the file cannot be read.
bool LoadEventFile(const std::filesystem::path& path, EventMask mask, std::string* error);
// Creates or truncates the file and writes the 20 bytes. False with `error` set on failure.
bool SaveEventFile(const std::filesystem::path& path, ConstEventMask mask, std::string* error);
