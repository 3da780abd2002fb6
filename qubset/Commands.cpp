#include "qubset/Commands.h"

#include "transfer/Review.h"

bool RunsWithoutWizard(const CommandLine& command) {
    return command.action != CommandLine::Action::Run;
}

CommandOutput RunCommand(const CommandLine& command, const std::string& program) {
    switch (command.action) {
        case CommandLine::Action::Help:
            return {0, UsageText(kCommandName), {}};
        case CommandLine::Action::Version:
            return {0, VersionLine(program), {}};
        case CommandLine::Action::Refuse:
            return {kUsageStatus,
                    {},
                    program + ": " + command.error + "\nTry '" + kCommandName + " --help'.\n"};
        case CommandLine::Action::Show:
            return ShowSiteFile(command.files[0], command.includePasswords);
        case CommandLine::Action::Diff:
            return DiffSiteFiles(command.files[0], command.files[1], command.includePasswords);
        case CommandLine::Action::Check:
            return CheckSiteFile(command.files[0]);
        case CommandLine::Action::Report: {
            std::string version = VersionLine(program);
            version.pop_back();  // its line end
            return ReportSiteFile(command.files[0], command.files[1], "English.ini", version,
                                  HandoverDate());
        }
        case CommandLine::Action::Run:
            break;
    }
    return {kUsageStatus, {}, program + ": nothing to run without the wizard\n"};
}
