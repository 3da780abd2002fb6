// The configuration image as the wire format describes it, assembled from a settings record
// and its texts without the tool's own image builder: what a test expects the unit to receive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/Unit.h"

std::vector<std::uint8_t> ExpectedImage(std::vector<std::uint8_t> settings,
                                        const std::vector<std::string>& texts);
// The texts of slots 1..count of a unit.
std::vector<std::string> UnitTexts(const sim::Unit& unit, int count);
