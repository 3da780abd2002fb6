// The program's options, read before anything touches a display, so that --help, --version
// and the commands without the wizard work on a machine without one.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "qubset/ExitStatus.h"

// What the user types, whatever the program file is called: the name --help gives.
inline constexpr char kCommandName[] = "qubset";

struct CommandLine {
    enum class Action { Run, Help, Version, Refuse, Show, Diff, Check, Report, Read, Write, Set };
    Action action = Action::Run;
    std::string tracePath;          // --trace FILE
    bool traceSecrets = false;      // --trace-secrets: the trace shows secrets unmasked
    bool includePasswords = false;  // --include-passwords: values shown or saved with secrets
    std::string error;              // Refuse: what was wrong
    std::string siteFile;           // Run: a site file to open, as "Open site file..." does
    std::string
        files[2];  // Show, Check, Read, Write: the site file; Diff: both; Report: file and page
    std::vector<std::pair<std::string, std::string>> assignments;  // Set: NAME=VALUE
    int port = 0;            // --port COMn; 0: the wizard's search
    bool clone = false;      // --clone: another unit's file may be written
    bool dryRun = false;     // --dry-run
    bool verify = true;      // false with --no-verify
    bool json = false;       // --json
    std::string dialNumber;  // --dial NUMBER: the remote unit, through the one on the cable
    std::string dialPassword;
    int protocol = 0;        // --protocol 0..3
    bool each = false;       // --each: a bench of units
    std::string valuesPath;  // --values TABLE.csv
    std::string ledgerPath;  // --ledger LEDGER.csv
    int count = 0;           // --count N; 0: no limit
    std::string reportDir;   // --report-dir DIR
    bool again = false;      // --again
};

// The arguments are UTF-8 on every system (the Windows main converts them so).
CommandLine ParseCommandLine(int argc, const char* const* argv);
// A file named on the command line: UTF-8 to the system's own file names.
inline std::filesystem::path ArgumentPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
std::string UsageText(const std::string& program);
std::string VersionLine(const std::string& program);
