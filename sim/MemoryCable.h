// A cable in memory between the simulated unit and the tool in the same process, for
// platforms without pseudo-terminals and for tests that want no serial driver in the way.
// The tool's end is a SerialLine that keeps the read time-outs a serial port gives.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "link/SerialLine.h"
#include "sim/UnitEnd.h"

namespace sim {

// What both ends share.
struct CableState {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::uint8_t> toUnit;
    std::deque<std::uint8_t> toTool;
    bool plugged = false;
    unsigned plugging = 0;  // counts the plug-ins, so a line opened before a pull stays dead
    bool woken = false;
};

std::unique_ptr<UnitEnd> MakeMemoryUnitEnd(std::shared_ptr<CableState> cable);
// The tool's end, found at COM<comNumber> and nowhere else.
std::unique_ptr<SerialLine> MakeMemoryLine(std::shared_ptr<CableState> cable, int comNumber);

}  // namespace sim
