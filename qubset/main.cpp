// Qubset: configures Qubrin GSM/GPRS alarm communicators over a serial cable.
#include <unistd.h>
#include <QApplication>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "app/PelmaroApp.h"
#include "app/Profile.h"
#include "link/WireTrace.h"
#include "qubset/Commands.h"
#include "qubset/QubsetVersion.h"
#include "qubset/WizardPages.h"
#include "ui/Services.h"
#include "ui/VersionInfo.h"
#include "ui/qt/Toolkit.h"

// The version record the title shows, read back from this file by its name.
[[gnu::used]] const EmbeddedVersion kQubsetVersionRecord = {
    "QUBSET-VERSION-RECORD", kVersionSignature, kQubsetFileVersionMS, kQubsetFileVersionLS};

namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// Where Qt would find a window system. A platform named outright needs its server only when
// it is X or Wayland; the others (offscreen, vnc, a frame buffer) draw without one.
bool HasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string_view named = platform ? platform : "";
    if (named.starts_with("xcb")) return IsSet("DISPLAY");
    if (named.starts_with("wayland")) return IsSet("WAYLAND_DISPLAY");
    return !named.empty() || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

// A program started from a menu has no terminal: with a desktop's display, the message also
// comes up in a box.
void ShowWhereTheUserLooks(char** argv, const std::string& message) {
    if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) return;
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    ui::MessageBox(0, message, "Qubset", ui::MessageIcon::Error);
}

int Print(const CommandOutput& output) {
    std::fputs(output.out.c_str(), stdout);
    std::fputs(output.err.c_str(), stderr);
    return output.status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string program =
        argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "Qubset";
    const CommandLine command = ParseCommandLine(argc, argv);
    // The site commands convert texts as the wizard does, in the code page the settings name;
    // without an application object the store is found by this name.
    QCoreApplication::setApplicationName(QString::fromStdString(program));
    UseCodePageOfSettings();
    if (RunsWithoutWizard(command))
        return Print(RunCommand(command, program, isatty(STDERR_FILENO) == 1));
    // Qt would abort without a display, and tell a person to reinstall.
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "%s: the wizard needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is "
                     "set\n'%s --help' lists what works without one.\n",
                     program.c_str(), kCommandName);
        return kNoDisplayStatus;
    }
    WireTrace trace;
    std::string why;
    const auto secrets =
        command.traceSecrets ? WireTrace::Secrets::Shown : WireTrace::Secrets::Masked;
    if (!command.tracePath.empty() && !trace.Open(ArgumentPath(command.tracePath), &why, secrets)) {
        const std::string message = "cannot write the trace file " + command.tracePath + ": " + why;
        std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
        ShowWhereTheUserLooks(argv, message);
        return kUsageStatus;
    }

    int qtArgc = 1;  // every argument was ours; Qt gets none of them
    QApplication application(qtArgc, argv);
    // The menu entry's name: desktops on Wayland find the icon through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.miltra.qubset"));
    const auto toolkitTexts = ui::LoadToolkitTranslations(QLocale::system());
    CPelmaroApp app(WizardPages());
    if (trace.IsOpen()) app.SetTrace(&trace);
    app.SetSiteFile(ArgumentPath(command.siteFile));
    return app.InitInstance();
}
