// A bench of units: --each --write FILE, one unit after another, each with its row of a
// values table and a line in a ledger.
#pragma once

#include "qubset/UnitCommands.h"

CommandOutput RunBench(const CommandLine& command, SerialLine& line,
                       const UnitEnvironment& environment);
