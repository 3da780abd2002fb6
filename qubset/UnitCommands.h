// The commands that work on a unit without the wizard: --read, --write and --set.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "qubset/CommandLine.h"
#include "qubset/SiteCommands.h"
#include "qubset/UnitSession.h"

class SerialLine;
class WireTrace;

// What a command needs of the place it runs in.
struct UnitEnvironment {
    Progress progress;                   // the steps, as they are taken
    std::filesystem::path backupFolder;  // "" for none
    std::filesystem::path langFile;      // the language in use: its code goes to the unit
    WireTrace* trace = nullptr;
    // A bench: true once it is to stop after the unit in hand (Ctrl+C); and how long it waits
    // for the next unit, 0 for as long as it is not stopped.
    std::function<bool()> stopped = [] { return false; };
    std::chrono::milliseconds unitWait{0};
};

// Runs --read, --write (--each too) or --set on the unit behind `line`.
CommandOutput RunUnitCommand(const CommandLine& command, SerialLine& line,
                             const UnitEnvironment& environment);

// The same on the platform's serial line with the wizard's port map, backups, language and
// --trace, progress on stderr: the verb table's runner of the three.
CommandOutput RunOnUnit(const CommandLine& command, const std::string& program);
// Whether the platform runners draw a bar; the main says so once, before it runs one.
void DrawProgressBar(bool bar);
