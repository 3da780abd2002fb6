// The platform's small services: message box, beep, file dialogs, file names as texts, the
// program's folder, and the wake-up that brings work onto the UI thread. Each dialog reports
// to an automation point first, so that tests (and UI automation) can observe and answer it.
//
// ui/Services.cpp defines automation(), GetOpenFileName and GetSaveFileName (over
// ShowFileDialog); each backend owes the rest, in its Services.cpp: MessageBox, MessageBeep,
// ShowFileDialog, the text and path conversions, the program's and the user's folders,
// NotifyModalStarted and UiWakeup.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ui/Window.h"

namespace ui {

enum class MessageIcon { Exclamation, Information, Error };

// A modal message box with an OK button.
void MessageBox(Hwnd parent, std::string_view text, std::string_view caption, MessageIcon icon);
// The system's simple beep.
void MessageBeep();

struct FileDialogOptions {
    std::string defaultExtension;  // without the dot
    std::string proposedName;
    std::string filterLabel;
    std::string filterPattern;
    // Where the dialog opens; set by GetOpenFileName / GetSaveFileName: the current folder,
    // or the user's documents when the current folder cannot be written.
    std::filesystem::path startFolder;
};
// The chosen path, or empty when the user cancelled. Saving asks before overwriting. The
// current folder is the same afterwards (the wizard finds its language files there), whatever
// the dialog did to it.
std::filesystem::path GetOpenFileName(Hwnd parent, FileDialogOptions options);
std::filesystem::path GetSaveFileName(Hwnd parent, FileDialogOptions options);
// The backend's own dialog, as GetOpenFileName / GetSaveFileName run it.
std::filesystem::path ShowFileDialog(Hwnd parent, const FileDialogOptions& options, bool save);

// File names and the system's own texts (error messages, device names) as the wizard's
// texts show them, and back.
std::string TextFromPath(const std::filesystem::path& path);
std::string TextFromSystem(std::string_view text);
std::filesystem::path PathFromText(std::string_view text);
// The folder the running program was started from, and its name (the executable's file name
// without extension), which names its settings.
std::filesystem::path ApplicationDirectory();
std::string ApplicationName();
// The user's folder for state a program keeps between runs: $XDG_STATE_HOME, by default
// ~/.local/state; on Windows the local application data. Empty when the system has none.
std::filesystem::path UserStateDirectory();
// The user's documents folder (the home folder where there is none).
std::filesystem::path UserDocumentsDirectory();

// Runs a handler on the UI thread each time it is woken, from any thread. It stands for a
// message posted to a window of the UI thread; one that arrives after the wake-up is gone is
// dropped.
class UiWakeup {
  public:
    explicit UiWakeup(std::function<void()> handler);
    ~UiWakeup();
    UiWakeup(const UiWakeup&) = delete;
    UiWakeup& operator=(const UiWakeup&) = delete;
    // Any thread.
    void Post();

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Automation points. When a hook is set it is called instead of (or, for onModal, as well as)
// showing the thing to a person.
struct Automation {
    // A modal dialog has started its loop; the hook may act on it (and end it).
    std::function<void(Window& dialog)> onModal;
    std::function<void(const std::string& text, const std::string& caption)> onMessageBox;
    std::function<std::filesystem::path(const FileDialogOptions& options, bool save)> onFileDialog;
    std::function<void()> onBeep;
    // A page of a property sheet has become the active page.
    std::function<void(Window& page)> onPageActivated;
};
Automation& automation();

// Called by Dialog::DoModal once the dialog is up.
void NotifyModalStarted(Window& dialog);

}  // namespace ui
