// Qubset on Windows: the Win32 backend needs no application object of its own. The commands
// that need no wizard run as on Linux; qubset.com runs this program from a console.
#include <string>
#include <vector>

#include "app/PelmaroApp.h"
#include "app/Profile.h"
#include "link/WireTrace.h"
#include "qubset/Commands.h"
#include "qubset/WizardPages.h"
#include "qubset/win32/Console.h"
#include "ui/Services.h"

int main() {
    const std::vector<std::string> arguments = CommandLineArguments();
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    const CommandLine command = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    const std::string program = ui::ApplicationName();
    // The site commands convert texts as the wizard does, in the code page the settings name.
    UseCodePageOfSettings();
    if (RunsWithoutWizard(command)) {
        const bool bar = PrepareProgressStream();
        return PrintCommandOutput(RunCommand(command, program, bar));
    }
    WireTrace trace;
    std::string why;
    const auto secrets =
        command.traceSecrets ? WireTrace::Secrets::Shown : WireTrace::Secrets::Masked;
    if (!command.tracePath.empty() && !trace.Open(ArgumentPath(command.tracePath), &why, secrets))
        return PrintCommandOutput(
            {kUsageStatus,
             {},
             program + ": cannot write the trace file " + command.tracePath + ": " + why + "\n"});
    CPelmaroApp app(WizardPages());
    if (trace.IsOpen()) app.SetTrace(&trace);
    app.SetSiteFile(ArgumentPath(command.siteFile));
    return app.InitInstance();
}
