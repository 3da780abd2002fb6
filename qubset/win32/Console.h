// The Windows program's own command line and output: arguments from the system as UTF-8, and
// the commands' UTF-8 bytes to a console, a pipe or a file unchanged.
#pragma once

#include <string>
#include <vector>

#include "qubset/SiteCommands.h"

// The arguments as the system splits them, the program's name first.
std::vector<std::string> CommandLineArguments();
// Writes the output and error text where they belong and returns the status. Started with no
// standard handles (from a shortcut or Explorer), the text comes up in a box instead.
int PrintCommandOutput(const CommandOutput& output);
