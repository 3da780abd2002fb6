// The Windows program's own command line and output: arguments from the system as UTF-8, and
// the commands' UTF-8 bytes to a console, a pipe or a file unchanged.
#pragma once

#include <string>
#include <vector>

#include "qubset/SiteCommands.h"

enum class Standard { Output, Error };

// The arguments as the system splits them, the program's name first.
std::vector<std::string> CommandLineArguments();
std::string NarrowUtf8(const wchar_t* text);
// A console gets the text's characters, whatever its code page; a pipe or a file its bytes.
// A failed write has nowhere to be told.
void WriteStandard(Standard stream, const std::string& utf8);
// True when stderr is a console, where the progress is drawn as a bar. A pipe or a file gets
// the progress lines through stdio as the Linux program writes them: line ends unchanged.
bool PrepareProgressStream();
// Writes the output and error text where they belong and returns the status. Started with no
// standard handles (from a shortcut or Explorer), the text comes up in a box instead.
int PrintCommandOutput(const CommandOutput& output);
