// Qubset: configures Qubrin GSM/GPRS alarm communicators over a serial cable.
#include <QApplication>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <filesystem>

#include "app/PelmaroApp.h"
#include "link/WireTrace.h"
#include "qubset/CommandLine.h"
#include "qubset/QubsetVersion.h"
#include "qubset/WizardPages.h"
#include "ui/VersionInfo.h"
#include "ui/qt/Toolkit.h"

// The version record the title shows, read back from this file by its name.
[[gnu::used]] const EmbeddedVersion kQubsetVersionRecord = {
    "QUBSET-VERSION-RECORD", kVersionSignature, kQubsetFileVersionMS, kQubsetFileVersionLS};

int main(int argc, char** argv) {
    const std::string program =
        argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "Qubset";
    const CommandLine command = ParseCommandLine(argc, argv);
    switch (command.action) {
        case CommandLine::Action::Help:
            std::fputs(UsageText(program).c_str(), stdout);
            return 0;
        case CommandLine::Action::Version:
            std::fputs(VersionLine(program).c_str(), stdout);
            return 0;
        case CommandLine::Action::Refuse:
            std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program.c_str(),
                         command.error.c_str(), program.c_str());
            return kUsageStatus;
        case CommandLine::Action::Run:
            break;
    }
    WireTrace trace;
    std::string why;
    if (!command.tracePath.empty() && !trace.Open(command.tracePath, &why)) {
        std::fprintf(stderr, "%s: cannot write the trace file %s: %s\n", program.c_str(),
                     command.tracePath.c_str(), why.c_str());
        return kUsageStatus;
    }

    int qtArgc = 1;  // every argument was ours; Qt gets none of them
    QApplication application(qtArgc, argv);
    // The menu entry's name: desktops on Wayland find the icon through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.miltra.qubset"));
    const auto toolkitTexts = ui::LoadToolkitTranslations(QLocale::system());
    CPelmaroApp app(MakeWizardPages);
    if (trace.IsOpen()) app.SetTrace(&trace);
    return app.InitInstance();
}
