// The one table of the command line: every command with its arguments, the options it takes,
// its help and the function that runs it. The parser, the usage text, the manual page's
// options and the shell completion all come from it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "qubset/CommandLine.h"

struct CommandOutput;

namespace verbs {

// The options, one bit each.
enum : unsigned {
    kTrace = 1u << 0,
    kTraceSecrets = 1u << 1,
    kPasswords = 1u << 2,
    kPort = 1u << 3,
    kDial = 1u << 4,
    kDialPassword = 1u << 5,
    kProtocol = 1u << 6,
    kClone = 1u << 7,
    kDryRun = 1u << 8,
    kNoVerify = 1u << 9,
    kJson = 1u << 10,
    kEach = 1u << 11,
    kValues = 1u << 12,
    kLedger = 1u << 13,
    kCount = 1u << 14,
    kReportDir = 1u << 15,
    kAgain = 1u << 16,
};
inline constexpr unsigned kBenchOptions = kEach | kValues | kLedger | kCount | kReportDir | kAgain;
inline constexpr unsigned kUnitOptions =
    kTrace | kTraceSecrets | kPort | kDial | kDialPassword | kProtocol | kJson;

struct Option {
    std::string_view name;
    std::string_view argument;  // "" for a switch
    unsigned bit;
    std::string_view synopsis;  // its part of a usage line; "" where another option's holds it
    std::string_view help;
};

// Runs a command; `program` is the name its messages give.
using Runner = CommandOutput (*)(const CommandLine& command, const std::string& program);

struct Verb {
    std::string_view name;  // "" for the wizard
    CommandLine::Action action;
    std::string_view arguments;  // as the usage line shows them
    int files;                   // the arguments it takes; kAssignments: one NAME=VALUE or more
    unsigned options;
    std::string_view help;
    Runner run;  // nullptr for the wizard, --help and --version, which the mains run
};
inline constexpr int kAssignments = -1;

std::span<const Verb> Verbs();
std::span<const Option> Options();
const Verb* FindVerb(std::string_view name);
const Verb* VerbOf(CommandLine::Action action);
const Option* FindOption(std::string_view name);

// A bash completion script for `program`: its commands and each one's options.
std::string BashCompletion(const std::string& program);

}  // namespace verbs
