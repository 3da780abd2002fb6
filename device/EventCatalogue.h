// The event catalogue as the unit delivers it: the names of events 0..151 as consecutive
// NUL-terminated texts. Every read stays inside the catalogue's buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/Layout.h"

using EventNames = std::array<std::string, layout::kEventCount>;

// The names of events 0..151: consecutive NUL-terminated texts from the start of the
// catalogue. A name is cut to 69 characters; names the buffer does not reach are empty.
EventNames CatalogueNames(const std::uint8_t* catalogue, std::size_t size);
// Writes the 152 names back from the start, each cut to 69 characters and terminated; the
// bytes behind them stay as they were. Returns the bytes written (at most 10640).
std::size_t WriteCatalogue(std::uint8_t* catalogue, std::size_t size, const EventNames& names);
