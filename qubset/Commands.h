// What the command line asks for without the wizard, run the same way by both mains: each
// command hands back its output and exit status as a value.
#pragma once

#include <string>

#include "qubset/CommandLine.h"
#include "qubset/SiteCommands.h"

// True when `command` runs without the wizard (and without a display).
bool RunsWithoutWizard(const CommandLine& command);
// Runs such a command; `program` is the name its messages and usage text give. Progress goes
// to stderr as it happens, drawn as a bar when `stderrIsTerminal`.
CommandOutput RunCommand(const CommandLine& command, const std::string& program,
                         bool stderrIsTerminal = false);
