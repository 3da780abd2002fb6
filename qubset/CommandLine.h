// The program's few options, read before anything touches a display, so that --help and
// --version work on a machine without one.
#pragma once

#include <filesystem>
#include <string>

// What the user types, whatever the program file is called: the name --help gives.
inline constexpr char kCommandName[] = "qubset";
// Exit status of a command line that is refused.
inline constexpr int kUsageStatus = 2;
// Exit status when the wizard has no display to show itself on.
inline constexpr int kNoDisplayStatus = 3;

struct CommandLine {
    enum class Action { Run, Help, Version, Refuse, Show, Diff, Check, Report };
    Action action = Action::Run;
    std::string tracePath;          // --trace FILE
    bool traceSecrets = false;      // --trace-secrets: the trace shows secrets unmasked
    bool includePasswords = false;  // --include-passwords: --show and --diff print secrets
    std::string error;              // Refuse: what was wrong
    std::string siteFile;           // Run: a site file to open, as "Open site file..." does
    std::string
        files[2];  // Show, Check: the site file; Diff: both; Report: the site file and the page
};

// The arguments are UTF-8 on every system (the Windows main converts them so).
CommandLine ParseCommandLine(int argc, const char* const* argv);
// A file named on the command line: UTF-8 to the system's own file names.
inline std::filesystem::path ArgumentPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
std::string UsageText(const std::string& program);
std::string VersionLine(const std::string& program);
