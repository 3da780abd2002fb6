// The simulator on the test cable: a pseudo-terminal reached through the real serial line at a
// COM number that a "Ports" override gives it, or the in-memory cable at that number.
#pragma once

#include <memory>

#include "device/DeviceData.h"
#include "link/SerialLine.h"
#include "link/SerialPort.h"
#include "sim/Simulator.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestCable.h"

struct SimLink {
    explicit SimLink(int comNumber = 3, sim::Options options = {})
        : simulator(options),
          linkPath(dir.File("qubrin")),
          line(TestCableLine(simulator, comNumber, linkPath)),
          port(*line) {
        started = StartOnTestCable(simulator, linkPath, &error);
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
