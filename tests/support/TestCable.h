// The cable the tests' simulator is served on: a pseudo-terminal behind the platform's own
// serial line, or the in-memory cable where there are no pseudo-terminals (Windows) or where
// QUBSET_TEST_CABLE=memory asks for it.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "link/SerialLine.h"
#include "sim/Simulator.h"

inline bool UseMemoryCable() {
#ifdef _WIN32
    return true;
#else
    const char* cable = std::getenv("QUBSET_TEST_CABLE");
    return cable && std::string_view(cable) == "memory";
#endif
}

// Starts the simulator on the chosen cable; false (with `error` set) when it cannot start.
// `linkPath` is where the pseudo-terminal appears.
inline bool StartOnTestCable(sim::Simulator& simulator, const std::string& linkPath,
                             std::string* error = nullptr) {
    if (UseMemoryCable()) return simulator.StartInMemory(error);
#ifdef _WIN32
    (void)linkPath;
    return false;
#else
    return simulator.Start(linkPath, error);
#endif
}

// The tool's line: COM<comNumber> leads to the simulator and no other port exists.
inline std::unique_ptr<SerialLine> TestCableLine(const sim::Simulator& simulator, int comNumber,
                                                 const std::string& linkPath) {
    if (UseMemoryCable()) return simulator.MemoryCable(comNumber);
    return MakePlatformSerialLine({{{comNumber, linkPath}}, false});
}
