#include "qubset/Commands.h"

#include "qubset/UnitCommands.h"
#include "qubset/Verbs.h"

bool RunsWithoutWizard(const CommandLine& command) {
    return command.action != CommandLine::Action::Run;
}

CommandOutput RunCommand(const CommandLine& command, const std::string& program,
                         bool stderrIsTerminal) {
    DrawProgressBar(stderrIsTerminal && !command.json);
    switch (command.action) {
        case CommandLine::Action::Help:
            return {kDoneStatus, UsageText(kCommandName), {}};
        case CommandLine::Action::Version:
            return {kDoneStatus, VersionLine(program), {}};
        case CommandLine::Action::Refuse:
            return {kUsageStatus,
                    {},
                    program + ": " + command.error + "\nTry '" + kCommandName + " --help'.\n"};
        default:
            break;
    }
    const verbs::Verb* verb = verbs::VerbOf(command.action);
    if (verb && verb->run) return verb->run(command, program);
    return {kUsageStatus, {}, program + ": nothing to run without the wizard\n"};
}
