// A unit that lives in the program, served on an in-memory cable: the demo unit, or a unit
// made from a site file for work without a unit. The link talks to it as to one on a cable.
#pragma once

#include <memory>
#include <string>

#include "link/SerialLine.h"
#include "sim/Unit.h"

namespace sim {
class Simulator;
}
namespace site {
struct SiteFile;
}

// The port the unit in the program answers on: the first the search tries.
inline constexpr int kUnitInProgramPort = kFirstComPort;

// The unit a site file describes: its identity, values and event names on the demo unit's
// hardware. Passwords the file does not keep are empty; events it names none are shown by
// their numbers. False with the reason when the file cannot be laid over such a unit.
bool UnitOfSiteFile(const site::SiteFile& file, sim::Unit* unit, std::string* error);

class UnitInProgram {
  public:
    UnitInProgram();
    ~UnitInProgram();
    UnitInProgram(const UnitInProgram&) = delete;
    UnitInProgram& operator=(const UnitInProgram&) = delete;

    // Starts serving `local` (and the demo's remote unit, for a remote dial). False when the
    // unit cannot be started.
    bool Start(const sim::Unit& local);
    // The tool's end of the cable; valid once started, for as long as this object lives.
    SerialLine& line() { return *m_line; }

  private:
    std::unique_ptr<sim::Simulator> m_simulator;
    std::unique_ptr<SerialLine> m_line;
};
