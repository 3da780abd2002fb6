#include "qubset/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

#include "link/PortNames.h"
#include "qubset/QubsetVersion.h"
#include "qubset/Verbs.h"

namespace {

using verbs::Option;
using verbs::Verb;

constexpr std::string_view kOptionsEnd = "--";
constexpr int kProtocolCount = 4;

CommandLine Refused(std::string error) {
    CommandLine refused;
    refused.action = CommandLine::Action::Refuse;
    refused.error = std::move(error);
    return refused;
}

// Built in place: mingw's GCC 12 takes a text put before a temporary for an overlapping copy.
std::string Quoted(std::string_view name) {
    std::string quoted(1, '\'');
    quoted.append(name);
    quoted += '\'';
    return quoted;
}

// `text` with a space and `word` after it.
void AddWord(std::string& text, std::string_view word) {
    text += ' ';
    text.append(word);
}

// "--show or --diff": the commands that take the option.
std::string CommandsTaking(unsigned bit) {
    std::vector<std::string_view> names;
    for (const Verb& verb : verbs::Verbs())
        if (verb.options & bit) names.push_back(verb.name.empty() ? "the wizard" : verb.name);
    std::string said;
    for (std::size_t i = 0; i < names.size(); ++i)
        said += std::string(i == 0                  ? ""
                            : i + 1 == names.size() ? " or "
                                                    : ", ") +
                std::string(names[i]);
    return said;
}

bool ParseNumber(std::string_view text, int* number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *number);
    return error == std::errc() && end == text.data() + text.size();
}

// "COM3", "com3" or "3".
bool ParsePort(std::string_view text, int* port) {
    if (text.size() > 3 && (text[0] | 0x20) == 'c' && (text[1] | 0x20) == 'o' &&
        (text[2] | 0x20) == 'm')
        text.remove_prefix(3);
    return ParseNumber(text, port) && *port >= kFirstComPort && *port <= kMaxComPort;
}

// Stores an option's value; the refusal, "" when it is taken.
std::string Take(CommandLine& line, const Option& option, std::string_view value) {
    switch (option.bit) {
        case verbs::kTrace:
            line.tracePath = value;
            break;
        case verbs::kTraceSecrets:
            line.traceSecrets = true;
            break;
        case verbs::kPasswords:
            line.includePasswords = true;
            break;
        case verbs::kPort:
            if (!ParsePort(value, &line.port))
                return "option '--port' needs a port such as COM3, not " + Quoted(value);
            break;
        case verbs::kDial:
            line.dialNumber = value;
            break;
        case verbs::kDialPassword:
            line.dialPassword = value;
            break;
        case verbs::kProtocol:
            if (!ParseNumber(value, &line.protocol) || line.protocol < 0 ||
                line.protocol >= kProtocolCount)
                return "option '--protocol' needs 0, 1, 2 or 3";
            break;
        case verbs::kClone:
            line.clone = true;
            break;
        case verbs::kDryRun:
            line.dryRun = true;
            break;
        case verbs::kNoVerify:
            line.verify = false;
            break;
        case verbs::kJson:
            line.json = true;
            break;
        case verbs::kEach:
            line.each = true;
            break;
        case verbs::kValues:
            line.valuesPath = value;
            break;
        case verbs::kLedger:
            line.ledgerPath = value;
            break;
        case verbs::kCount:
            if (!ParseNumber(value, &line.count) || line.count < 1)
                return "option '--count' needs a number of units, 1 or more";
            break;
        case verbs::kReportDir:
            line.reportDir = value;
            break;
        case verbs::kAgain:
            line.again = true;
            break;
        default:
            break;
    }
    return {};
}

// The verb the arguments name: the first of them that is one, before "--". Values of options
// are not looked at.
const Verb* NamedVerb(int argc, const char* const* argv, int* at) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == kOptionsEnd) break;
        if (const Verb* verb = verbs::FindVerb(arg)) {
            *at = i;
            return verb;
        }
        const Option* option = verbs::FindOption(arg);
        if (option && !option->argument.empty()) ++i;
    }
    *at = 0;
    return verbs::VerbOf(CommandLine::Action::Run);
}

std::string Needs(const Verb& verb) {
    if (verb.files == verbs::kAssignments)
        return "option " + Quoted(verb.name) + " needs NAME=VALUE";
    if (verb.files == 0) return {};
    return "option " + Quoted(verb.name) + " needs " +
           (verb.files == 1 ? "a file name" : "two file names");
}

// A positional argument: a file, or a NAME=VALUE of --set. The refusal, "" when taken.
std::string Positional(CommandLine& line, const Verb& verb, std::string_view arg, int* files) {
    if (verb.files == verbs::kAssignments) {
        const std::size_t equals = arg.find('=');
        if (equals == 0 || equals == std::string_view::npos) return Needs(verb);
        line.assignments.emplace_back(arg.substr(0, equals), arg.substr(equals + 1));
        return {};
    }
    if (verb.action == CommandLine::Action::Run && line.siteFile.empty() && !arg.empty()) {
        line.siteFile = arg;  // what a file manager passes for a double-clicked file
        return {};
    }
    if (verb.files == 0) return "unexpected argument " + Quoted(arg);
    if (*files == verb.files || arg.empty()) return Needs(verb);
    line.files[(*files)++] = arg;
    return {};
}

// The option at argv[*i] (--name or --name=value), its value taken from the next argument
// when it needs one. The refusal, "" when taken.
std::string OptionArgument(CommandLine& line, const Verb& verb, int argc, const char* const* argv,
                           int* i) {
    std::string_view arg = argv[*i];
    std::string_view value;
    const std::size_t equals = arg.find('=');
    const Option* option = verbs::FindOption(arg.substr(0, equals));
    if (!option) return "unknown option " + Quoted(arg);
    if (!(verb.options & option->bit))
        return "option " + Quoted(option->name) + " goes only after " + CommandsTaking(option->bit);
    const std::string needs = "option " + Quoted(option->name) + " needs " +
                              (option->argument == "FILE" || option->argument.ends_with(".csv")
                                   ? std::string("a file name")
                                   : std::string(option->argument));
    if (option->argument.empty()) {
        if (equals != std::string_view::npos) return "unknown option " + Quoted(arg);
    } else if (equals != std::string_view::npos) {
        value = arg.substr(equals + 1);
    } else if (*i + 1 < argc) {
        value = argv[++*i];
    }
    if (!option->argument.empty() && value.empty()) return needs;
    return Take(line, *option, value);
}

// What the options say together, once all are read.
std::string Inconsistency(const CommandLine& line) {
    if (line.traceSecrets && line.tracePath.empty())
        return "option '--trace-secrets' needs '--trace FILE'";
    if (line.dialNumber.empty() && (!line.dialPassword.empty() || line.protocol != 0))
        return "options '--password' and '--protocol' go only with '--dial NUMBER'";
    if (!line.dialNumber.empty() && line.dialPassword.empty())
        return "option '--dial' needs '--password P'";
    const bool benchOption = !line.valuesPath.empty() || !line.ledgerPath.empty() ||
                             line.count != 0 || !line.reportDir.empty() || line.again;
    if (benchOption && !line.each)
        return "options '--values', '--ledger', '--count', '--report-dir' and '--again' go "
               "only with '--each'";
    if (line.each && (line.dryRun || !line.dialNumber.empty()))
        return "option '--each' goes with neither '--dry-run' nor '--dial'";
    return {};
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == kOptionsEnd) break;
        if (arg == "--help" || arg == "-h" || arg == "--version") {
            CommandLine line;
            line.action =
                arg == "--version" ? CommandLine::Action::Version : CommandLine::Action::Help;
            return line;
        }
    }
    int verbAt = 0;
    const Verb& verb = *NamedVerb(argc, argv, &verbAt);
    CommandLine line;
    line.action = verb.action;
    int files = 0;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        if (i == verbAt) continue;
        const std::string_view arg = argv[i];
        std::string refusal;
        if (!optionsEnded && arg == kOptionsEnd)
            optionsEnded = true;
        else if (!optionsEnded && arg.size() > 1 && arg.front() == '-')
            refusal = verbs::FindVerb(arg) ? "options " + Quoted(verb.name) + " and " +
                                                 Quoted(arg) + " do not go together"
                                           : OptionArgument(line, verb, argc, argv, &i);
        else
            refusal = Positional(line, verb, arg, &files);
        if (!refusal.empty()) return Refused(refusal);
    }
    if (verb.files > 0 && files != verb.files) return Refused(Needs(verb));
    if (verb.files == verbs::kAssignments && line.assignments.empty()) return Refused(Needs(verb));
    if (std::string refusal = Inconsistency(line); !refusal.empty()) return Refused(refusal);
    return line;
}

namespace {

constexpr std::size_t kHelpIndent = 16;
constexpr std::size_t kHelpWidth = 78;      // the last column a line may fill
constexpr std::size_t kSynopsisIndent = 7;  // under the program's name after "Usage: "
constexpr std::string_view kSiteFileHelp =
    "open this site file, as \"Open site file...\" does; its values are laid over the "
    "unit's once it is identified";

// A usage line, its options wrapped within the width under the command.
std::string Synopsis(const Verb& verb, const std::string& program) {
    std::string text = program;
    if (!verb.name.empty()) AddWord(text, verb.name);
    if (!verb.arguments.empty()) AddWord(text, verb.arguments);
    std::size_t longest = 0;
    for (const Option& option : verbs::Options())
        if (verb.options & option.bit) longest = std::max(longest, option.synopsis.size());
    // Under the command's arguments, unless its longest option would not fit there.
    const std::size_t indent =
        std::min(kSynopsisIndent + text.size() + 1, kHelpWidth + 1 - longest);
    std::size_t column = kSynopsisIndent + text.size();
    for (const Option& option : verbs::Options()) {
        if (!(verb.options & option.bit) || option.synopsis.empty()) continue;
        if (column + 1 + option.synopsis.size() > kHelpWidth) {
            text += '\n';
            text.append(indent - 1, ' ');
            column = indent - 1;
        }
        AddWord(text, option.synopsis);
        column += 1 + option.synopsis.size();
    }
    return text + "\n";
}

// "  NAME ARGS  help", the help wrapped within the width under its indent.
std::string HelpEntry(std::string head, std::string_view help) {
    std::string entry = "  " + head;
    std::size_t column = entry.size();
    if (column + 2 > kHelpIndent) {
        entry += "  ";
        column += 2;
    } else {
        entry.append(kHelpIndent - column, ' ');
        column = kHelpIndent;
    }
    while (!help.empty()) {
        std::size_t space = help.find(' ');
        const std::string_view word = help.substr(0, space);
        if (column + word.size() > kHelpWidth && column > kHelpIndent) {
            entry += '\n';
            entry.append(kHelpIndent, ' ');
            column = kHelpIndent;
        } else if (column > kHelpIndent && entry.back() != ' ') {
            entry += ' ';
            ++column;
        }
        entry += word;
        column += word.size();
        help.remove_prefix(space == std::string_view::npos ? help.size() : space + 1);
    }
    return entry + "\n";
}

}  // namespace

std::string UsageText(const std::string& program) {
    std::string text;
    for (const Verb& verb : verbs::Verbs())
        if (verb.action != CommandLine::Action::Help && verb.action != CommandLine::Action::Version)
            text += (text.empty() ? "Usage: " : "       ") + Synopsis(verb, program);
    text +=
        "Configures Qubrin GSM/GPRS alarm communicators over a serial cable: a wizard\n"
        "that finds the unit on a serial port, reads its settings and writes them back,\n"
        "and the same work without the wizard.\n\nCommands:\n";
    for (const Verb& verb : verbs::Verbs()) {
        if (verb.name.empty()) {
            text += HelpEntry("SITEFILE.qubsite", kSiteFileHelp);
            continue;
        }
        std::string head = std::string(verb.name);
        if (verb.action == CommandLine::Action::Help) head = "-h, " + head;
        if (!verb.arguments.empty()) AddWord(head, verb.arguments);
        text += HelpEntry(head, verb.help);
    }
    text += "\nOptions:\n";
    for (const Option& option : verbs::Options()) {
        std::string head(option.name);
        if (!option.argument.empty()) AddWord(head, option.argument);
        text += HelpEntry(head, option.help);
    }
    text += "  --            end of the options: what follows is a file or NAME=VALUE\n";
    text += "\nExit status:\n";
    for (const ExitStatusLine& line : kExitStatuses)
        text += HelpEntry(std::to_string(line.status), line.meaning);
    return text +
           "\nThe wizard needs a display; without one it says so and exits with status 3.\n"
           "The interface languages are the *.ini language files in the current folder, or\n"
           "else those installed with the program.\n"
           "The settings value Setting/Trace=1 keeps a masked trace too, in\n"
           "$XDG_STATE_HOME/Miltra/Qubset-trace.log (by default under ~/.local/state).\n"
           "Backups of every configuration written are in $XDG_STATE_HOME/Miltra/backups.\n"
           "\n"
           "Report bugs at " +
           std::string(kQubsetBugReports) + "\n";
}

std::string VersionLine(const std::string& program) {
    return program + " " + std::to_string(kQubsetFileVersionMS >> 16) + "." +
           std::to_string(kQubsetFileVersionMS & 0xFFFF) + "." +
           std::to_string(kQubsetFileVersionLS >> 16) + "." +
           std::to_string(kQubsetFileVersionLS & 0xFFFF) + "\n";
}
