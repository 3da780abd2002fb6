// Qubset on Windows: the Win32 backend needs no application object of its own.
#include <filesystem>
#include <string_view>

#include "app/PelmaroApp.h"
#include "qubset/WizardPages.h"
#include "ui/win32/Win32.h"  // after the interface's own headers

#include <shellapi.h>

namespace {

// The site file Explorer passes for a double-click ("%1"), read wide so that any name comes
// through: the first argument that is neither an option nor the trace's file.
std::filesystem::path SiteFileArgument() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::filesystem::path file;
    for (int i = 1; argv && i < argc && file.empty(); ++i) {
        const std::wstring_view arg = argv[i];
        if (arg == L"--trace")
            ++i;
        else if (!arg.empty() && arg.front() != L'-')
            file = argv[i];
    }
    LocalFree(argv);
    return file;
}

}  // namespace

int main() {
    CPelmaroApp app(MakeWizardPages);
    app.SetSiteFile(SiteFileArgument());
    return app.InitInstance();
}
