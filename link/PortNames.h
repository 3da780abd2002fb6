// Where COM1..COM19 lead on a platform that names serial ports by path.
#pragma once

#include <map>
#include <string>

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 19;

// The settings store's section "Ports": "COM<n>" keys naming a device path, and "Discover",
// which when false keeps the other numbers empty instead of giving them to the serial devices
// found (tests and the demo use that, so they never touch the machine's own ports).
struct PortSettings {
    std::map<int, std::string> paths;
    bool discover = true;
};
