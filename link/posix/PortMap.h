// COM numbers on a system that names serial ports by path, as Wine does it: overrides first
// (any COM1..COM256), then the remaining numbers, lowest first, to the serial devices that
// really exist; devices beyond the first nineteen numbers get COM20 and up.
#pragma once

#include <string>
#include <vector>

#include "link/PortNames.h"

class PortMap {
  public:
    explicit PortMap(PortSettings settings, std::string sysTtyDir = "/sys/class/tty",
                     std::string devDir = "/dev");

    // Looks again for the devices that exist: ttyS* with a UART behind it, then ttyUSB*,
    // then ttyACM*, each in natural order.
    void Rescan();
    // The device path of COM<n>, or empty when nothing is there.
    std::string PathFor(int comNumber) const;
    // The numbers above COM19 that lead somewhere, lowest first.
    std::vector<int> FurtherPorts() const;

  private:
    std::vector<std::string> DiscoverDevices() const;

    PortSettings m_settings;
    std::string m_sysTtyDir;
    std::string m_devDir;
    std::vector<std::string> m_paths;  // index = COM number
};

// "ttyS2" before "ttyS10".
bool NaturalLess(const std::string& a, const std::string& b);
