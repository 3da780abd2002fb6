// Why no unit was found: one line per port that was there but could not be opened, with its
// cause and what to do, in the active language (sections 003..007, English built in).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "link/SerialLine.h"

// "COM1 (/dev/ttyUSB0): permission denied. ...", one line per failure.
std::string PortFailureLines(const std::vector<OpenFailure>& failures,
                             const std::filesystem::path& langFile);
