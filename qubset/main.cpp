// Qubset: configures Qubrin GSM/GPRS alarm communicators over a serial cable.
#include <QApplication>

#include "app/PelmaroApp.h"
#include "ui/VersionInfo.h"
#include "qubset/QubsetVersion.h"
#include "qubset/WizardPages.h"

// The version record the title shows, read back from this file by its name.
[[gnu::used]] const EmbeddedVersion kQubsetVersionRecord = {
    "QUBSET-VERSION-RECORD", kVersionSignature, kQubsetFileVersionMS, kQubsetFileVersionLS};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CPelmaroApp app(MakeWizardPages);
    return app.InitInstance();
}
