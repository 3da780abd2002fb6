// The simulator on a pseudo-terminal, reached through the real POSIX serial line at a COM
// number that a "Ports" override gives it.
#pragma once

#include <memory>

#include "device/DeviceData.h"
#include "link/SerialLine.h"
#include "link/SerialPort.h"
#include "sim/Simulator.h"
#include "tests/support/TempDir.h"

struct SimLink {
    explicit SimLink(int comNumber = 3, sim::Options options = {})
        : simulator(options),
          linkPath(dir.File("qubrin")),
          line(MakePlatformSerialLine({{{comNumber, linkPath}}, false})),
          port(*line) {
        started = simulator.Start(linkPath, &error);
    }

    TempDir dir;
    sim::Simulator simulator;
    std::string linkPath;
    std::unique_ptr<SerialLine> line;
    SerialPort port;
    DeviceData data;
    bool started = false;
    std::string error;
};
