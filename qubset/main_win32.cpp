// Qubset on Windows: the Win32 backend needs no application object of its own.
#include "app/PelmaroApp.h"
#include "qubset/WizardPages.h"

int main() {
    CPelmaroApp app(MakeWizardPages);
    return app.InitInstance();
}
