// The command line's site-file commands: they need no display and no unit.
#pragma once

#include <string>

#include "qubset/ExitStatus.h"

struct CommandOutput {
    int status = 0;
    std::string out;
    std::string err;
};

// Texts of a file come out with their control characters escaped, and passwords and codes
// masked unless `withPasswords`. With `json` the output is one JSON object: "status", "result"
// ("shown", "same", "differs", "sound" or "bad file") and what the command found.
// --show FILE: the header and the named values as a table.
CommandOutput ShowSiteFile(const std::string& path, bool withPasswords, bool json = false);
// --diff FILE1 FILE2: the fields whose values differ.
CommandOutput DiffSiteFiles(const std::string& first, const std::string& second, bool withPasswords,
                            bool json = false);
// --check FILE: whether the file is sound, or why not.
CommandOutput CheckSiteFile(const std::string& path, bool json = false);
// --report FILE OUT.html: the handover record of the file's configuration, its field names in
// the words of `langFile`. `version` and `date` are what the record says of its making.
CommandOutput ReportSiteFile(const std::string& path, const std::string& out,
                             const std::string& langFile, const std::string& version,
                             const std::string& date);
