// COM numbers, and where they lead on a platform that names serial ports by path.
#pragma once

#include <map>
#include <string>

// The search tries COM1..COM19 first, then every higher port the system has: USB adapters
// are often numbered above 19.
inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 19;
inline constexpr int kMaxComPort = 256;

// The settings store's section "Ports": "COM<n>" keys naming a device path, and "Discover",
// which when false keeps the other numbers empty instead of giving them to the serial devices
// found (tests and the demo use that, so they never touch the machine's own ports).
struct PortSettings {
    std::map<int, std::string> paths;
    bool discover = true;
};
