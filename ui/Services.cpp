#include "ui/Services.h"

#include <chrono>
#include <string>
#include <system_error>
#include <utility>

namespace ui {

namespace {

// Whether a file can be made in `folder`: a probe folder is made and removed again. The
// permission bits alone do not tell (ACLs, read-only mounts, a folder removed meanwhile).
bool CanWriteIn(const std::filesystem::path& folder) {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path probe = folder / (".qubset-probe-" + std::to_string(stamp));
    std::error_code error;
    if (!std::filesystem::create_directory(probe, error)) return false;
    std::filesystem::remove(probe, error);
    return true;
}

std::filesystem::path RunFileDialog(Hwnd parent, FileDialogOptions options, bool save) {
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    if (options.startFolder.empty())
        options.startFolder = !here.empty() && CanWriteIn(here) ? here : UserDocumentsDirectory();
    const std::filesystem::path chosen = automation().onFileDialog
                                             ? automation().onFileDialog(options, save)
                                             : ShowFileDialog(parent, options, save);
    // Windows' Open dialog moves the current folder to where the file was chosen.
    if (!here.empty() && std::filesystem::current_path(error) != here)
        std::filesystem::current_path(here, error);
    return chosen;
}

}  // namespace

Automation& automation() {
    static Automation hooks;
    return hooks;
}

std::filesystem::path GetOpenFileName(Hwnd parent, FileDialogOptions options) {
    return RunFileDialog(parent, std::move(options), false);
}

std::filesystem::path GetSaveFileName(Hwnd parent, FileDialogOptions options) {
    return RunFileDialog(parent, std::move(options), true);
}

}  // namespace ui
