#include "qubset/CommandLine.h"

#include <string_view>

#include "qubset/QubsetVersion.h"

namespace {

constexpr std::string_view kTraceOption = "--trace";
constexpr std::string_view kTraceSecretsOption = "--trace-secrets";
constexpr std::string_view kPasswordsOption = "--include-passwords";

CommandLine Refused(std::string error) {
    CommandLine refused;
    refused.action = CommandLine::Action::Refuse;
    refused.error = std::move(error);
    return refused;
}

struct SiteOption {
    std::string_view name;
    CommandLine::Action action;
    int files;
    bool showsValues;  // takes --include-passwords
};
constexpr SiteOption kSiteOptions[] = {{"--show", CommandLine::Action::Show, 1, true},
                                       {"--diff", CommandLine::Action::Diff, 2, true},
                                       {"--check", CommandLine::Action::Check, 1, false},
                                       {"--report", CommandLine::Action::Report, 2, false}};

std::string PasswordsOptionRefused() {
    return "option '" + std::string(kPasswordsOption) + "' goes only after --show or --diff";
}

// A site-file command takes its files and nothing else, but for --include-passwords where it
// shows values.
CommandLine SiteCommand(const SiteOption& option, int argc, const char* const* argv) {
    const std::string needs = "option '" + std::string(option.name) + "' needs " +
                              (option.files == 1 ? "a file name" : "two file names");
    CommandLine line;
    line.action = option.action;
    int files = 0;
    for (int i = 2; i < argc; ++i) {
        if (argv[i] == kPasswordsOption) {
            if (!option.showsValues) return Refused(PasswordsOptionRefused());
            line.includePasswords = true;
        } else if (files == option.files || !*argv[i]) {
            return Refused(needs);
        } else {
            line.files[files++] = argv[i];
        }
    }
    if (files != option.files) return Refused(needs);
    return line;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    for (const SiteOption& option : kSiteOptions)
        if (argc > 1 && argv[1] == option.name) return SiteCommand(option, argc, argv);
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (arg == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        }
        if (arg == kPasswordsOption) return Refused(PasswordsOptionRefused());
        if (arg == kTraceSecretsOption) {
            line.traceSecrets = true;
        } else if (arg == kTraceOption) {
            if (i + 1 >= argc || std::string_view(argv[i + 1]).empty())
                return Refused("option '--trace' needs a file name");
            line.tracePath = argv[++i];
        } else if (arg.substr(0, kTraceOption.size() + 1) == "--trace=") {
            line.tracePath = arg.substr(kTraceOption.size() + 1);
            if (line.tracePath.empty()) return Refused("option '--trace' needs a file name");
        } else if (!arg.empty() && arg.front() == '-') {
            return Refused("unknown option '" + std::string(arg) + "'");
        } else if (line.siteFile.empty() && !arg.empty()) {
            line.siteFile = arg;  // what a file manager passes for a double-clicked file
        } else {
            return Refused("unexpected argument '" + std::string(arg) + "'");
        }
    }
    if (line.traceSecrets && line.tracePath.empty())
        return Refused("option '--trace-secrets' needs '--trace FILE'");
    return line;
}

std::string UsageText(const std::string& program) {
    return "Usage: " + program +
           " [--trace FILE [--trace-secrets]] [SITEFILE.qubsite]\n"
           "       " +
           program +
           " --show FILE | --diff FILE1 FILE2 [--include-passwords]\n"
           "       " +
           program +
           " --check FILE | --report FILE OUT.html\n"
           "Configures Qubrin GSM/GPRS alarm communicators over a serial cable: a wizard that\n"
           "finds the unit on a serial port, reads its settings and writes them back.\n"
           "\n"
           "  --trace FILE  append every frame sent and received, with each exchange's\n"
           "                result, to FILE (a wire trace for support); passwords, codes\n"
           "                and the SIM PIN are masked\n"
           "  --trace-secrets  leave them unmasked in that trace (say so to whoever reads it)\n"
           "  SITEFILE.qubsite  open this site file, as \"Open site file...\" does; its values\n"
           "                are laid over the unit's once it is identified\n"
           "  --show FILE   print a site file's unit and named values\n"
           "  --diff FILE1 FILE2  list the fields whose values differ (status 1 when any)\n"
           "  --include-passwords  with --show or --diff: print passwords and codes as they\n"
           "                stand, not masked (each character a '*')\n"
           "  --check FILE  tell whether a site file is sound (status 2 when damaged,\n"
           "                changed by hand or unreadable)\n"
           "  --report FILE OUT.html  write a site file's handover record, a page to print\n"
           "                (no passwords or codes in it)\n"
           "  -h, --help    show this help and exit\n"
           "  --version     show the version and exit\n"
           "\n"
           "The wizard needs a display; without one it says so and exits with status 3.\n"
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
