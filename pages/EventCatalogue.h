// The event names the unit delivers, and event selections kept in files. Every read stays
// inside the catalogue's buffer and every file read inside its 20 bytes, whatever the unit or
// the file holds.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <string>

#include "device/DeviceData.h"

using EventNames = std::array<std::string, layout::kEventCount>;

// The names of events 0..151: consecutive NUL-terminated texts from the start of the
// catalogue. A name is cut to 69 characters; names the buffer does not reach are empty.
EventNames CatalogueNames(const std::uint8_t* catalogue, std::size_t size);
// Writes the 152 names back from the start, each cut to 69 characters and terminated; the
// bytes behind them stay as they were. Returns the bytes written (at most 10640).
std::size_t WriteCatalogue(std::uint8_t* catalogue, std::size_t size, const EventNames& names);

// The events offered in the basic view when they are not selected.
extern const std::array<std::uint8_t, layout::kEventMaskSize> basicEventMask;

// Event files: the 20 bytes of one event mask.
inline constexpr const char* kEventFileExtension = "qbx";
inline constexpr const char* kEventFileProposedName = "config";
inline constexpr const char* kEventFileFilterLabel = "Config for Qubrin (*.qbx)";
inline constexpr const char* kEventFileFilterPattern = "*.qbx";

// Reads up to 20 bytes of the file into the mask (a shorter file replaces only its leading
// bytes). False, with the mask untouched and `error` set, when the file cannot be read.
bool LoadEventFile(const QString& path, EventMask mask, QString* error);
// Creates or truncates the file and writes the 20 bytes. False with `error` set on failure.
bool SaveEventFile(const QString& path, ConstEventMask mask, QString* error);
