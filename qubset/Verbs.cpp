#include "qubset/Verbs.h"

#include "qubset/SiteCommands.h"
#include "qubset/UnitCommands.h"
#include "transfer/Review.h"

namespace verbs {

namespace {

using Action = CommandLine::Action;

CommandOutput Show(const CommandLine& c, const std::string&) {
    return ShowSiteFile(c.files[0], c.includePasswords, c.json);
}
CommandOutput Diff(const CommandLine& c, const std::string&) {
    return DiffSiteFiles(c.files[0], c.files[1], c.includePasswords, c.json);
}
CommandOutput Check(const CommandLine& c, const std::string&) {
    return CheckSiteFile(c.files[0], c.json);
}
CommandOutput Report(const CommandLine& c, const std::string& program) {
    std::string version = VersionLine(program);
    version.pop_back();  // its line end
    return ReportSiteFile(c.files[0], c.files[1], "English.ini", version, HandoverDate());
}

constexpr Option kOptions[] = {
    {"--trace", "FILE", kTrace, "[--trace FILE [--trace-secrets]]",
     "append every frame sent and received, with each exchange's result, to FILE (a wire "
     "trace for support); passwords, codes and the SIM PIN are masked"},
    {"--trace-secrets", "", kTraceSecrets, "",
     "leave them unmasked in that trace (say so to whoever reads it)"},
    {"--include-passwords", "", kPasswords, "[--include-passwords]",
     "print or save passwords and codes as they stand, not masked"},
    {"--port", "COMn", kPort, "[--port COMn]",
     "the unit is on COMn (the port map's COMn), not searched for"},
    {"--dial", "NUMBER", kDial, "[--dial NUMBER --password P [--protocol 0..3]]",
     "reach the remote unit at NUMBER through the unit on the cable"},
    {"--password", "P", kDialPassword, "", "the remote unit's password"},
    {"--protocol", "0..3", kProtocol, "",
     "the data protocol of the call, as the connection page numbers them (0 by default)"},
    {"--clone", "", kClone, "[--clone]", "write a file saved from another unit"},
    {"--dry-run", "", kDryRun, "[--dry-run]", "list the changes and write nothing"},
    {"--no-verify", "", kNoVerify, "[--no-verify]", "do not read the unit back after the write"},
    {"--json", "", kJson, "[--json]", "print one JSON object on standard output"},
    {"--each", "", kEach, "[--each]",
     "a bench: write one unit after another, each as it comes on the cable"},
    {"--values", "TABLE.csv", kValues, "[--values TABLE.csv]",
     "each unit's own values: a header of field names, a row a unit in order (or picked by "
     "a column unit.id)"},
    {"--ledger", "LEDGER.csv", kLedger, "[--ledger LEDGER.csv]",
     "append a line a unit: time, id, model, firmware, the file's hash, the row, the verdict"},
    {"--count", "N", kCount, "[--count N]", "stop after N units"},
    {"--report-dir", "DIR", kReportDir, "[--report-dir DIR]",
     "write each unit's handover record in DIR"},
    {"--again", "", kAgain, "[--again]", "write a unit the ledger has as verified again"},
};

constexpr Verb kVerbs[] = {
    {"", Action::Run, "[SITEFILE.qubsite]", 0, kTrace | kTraceSecrets,
     "the wizard: finds the unit on a serial port, reads its settings and writes them back",
     nullptr},
    {"--show", Action::Show, "FILE", 1, kPasswords | kJson,
     "print a site file's unit and named values", Show},
    {"--diff", Action::Diff, "FILE1 FILE2", 2, kPasswords | kJson,
     "list the fields whose values differ (status 1 when any)", Diff},
    {"--check", Action::Check, "FILE", 1, kJson,
     "tell whether a site file is sound (status 2 when damaged, changed by hand or "
     "unreadable)",
     Check},
    {"--report", Action::Report, "FILE OUT.html", 2, 0,
     "write a site file's handover record, a page to print (no passwords or codes in it)", Report},
    {"--read", Action::Read, "OUT.qubsite", 1, kUnitOptions | kPasswords,
     "identify the unit and save its configuration as a site file", RunOnUnit},
    {"--write", Action::Write, "FILE", 1,
     kUnitOptions | kClone | kDryRun | kNoVerify | kBenchOptions,
     "back up the unit, apply the site file as the wizard's \"Open site file...\" and Finish "
     "do, write, read back and compare, back up again",
     RunOnUnit},
    {"--set", Action::Set, "NAME=VALUE...", kAssignments, kUnitOptions | kNoVerify,
     "read the unit, set those named fields, write and verify", RunOnUnit},
    {"--help", Action::Help, "", 0, 0, "show this help and exit", nullptr},
    {"--version", Action::Version, "", 0, 0, "show the version and exit", nullptr},
};

}  // namespace

std::span<const Verb> Verbs() {
    return kVerbs;
}

std::span<const Option> Options() {
    return kOptions;
}

const Verb* FindVerb(std::string_view name) {
    for (const Verb& verb : kVerbs)
        if (!verb.name.empty() && verb.name == name) return &verb;
    return nullptr;
}

const Verb* VerbOf(CommandLine::Action action) {
    for (const Verb& verb : kVerbs)
        if (verb.action == action) return &verb;
    return nullptr;
}

const Option* FindOption(std::string_view name) {
    for (const Option& option : kOptions)
        if (option.name == name) return &option;
    return nullptr;
}

std::string BashCompletion(const std::string& program) {
    // Built in place: mingw's GCC 12 takes a text put before a temporary for an overlapping
    // copy.
    auto add = [](std::string& list, std::string_view word) {
        if (!list.empty()) list += ' ';
        list.append(word);
    };
    std::string verbs = "-h";
    std::string cases;
    std::string names;  // "--show|--diff|..."
    for (const Verb& verb : kVerbs) {
        std::string words;
        for (const Option& option : kOptions)
            if (verb.options & option.bit) add(words, option.name);
        if (verb.name.empty()) {
            add(verbs, words);
            continue;
        }
        add(verbs, verb.name);
        names.append(names.empty() ? "" : "|").append(verb.name);
        cases.append(8, ' ').append(verb.name).append(") opts=\"").append(words).append("\" ;;\n");
    }
    const std::string function = "_" + program + "_complete";
    return "# bash completion for " + program + ", made from its command table\n" + function +
           "() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} opts=\"\"\n"
           "    case $prev in\n"
           "        --port) COMPREPLY=($(compgen -W \"COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8 "
           "COM9\" -- \"$cur\")); return ;;\n"
           "        --protocol) COMPREPLY=($(compgen -W \"0 1 2 3\" -- \"$cur\")); return ;;\n"
           "        --dial|--password|--count) return ;;\n"
           "    esac\n"
           "    local verb=\"\" word\n"
           "    for word in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
           "        case $word in " +
           names +
           ") verb=$word; break ;; esac\n"
           "    done\n"
           "    case $verb in\n" +
           cases + "        *) opts=\"" + verbs +
           "\" ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$opts\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F " +
           function + " " + program + "\n";
}

}  // namespace verbs
