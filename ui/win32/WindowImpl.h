// The Win32 backend's side of a window: the dialog made from its template, its controls by id
// and what Windows does not keep for us (edit rules, pictures, list views, radio groups).
#pragma once

#include "ui/win32/Win32.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/Window.h"
#include "ui/win32/Controls.h"

namespace ui {

// Messages of our own to template windows.
inline constexpr UINT kMsgModalStarted = WM_APP + 1;

struct EditState {
    std::wstring previous;  // the text before the change being judged
    bool digitsOnly = false;
    long maxLength = -1;     // none
    bool restoring = false;  // a refused change is being undone
};

struct Window::Impl {
    HWND hwnd = nullptr;
    std::map<int, HWND> controls;
    std::map<int, Kind> kinds;
    std::map<int, int> radioGroup;  // radio id -> its group's first id
    std::map<int, EditState> edits;
    std::map<int, std::string> pictures;  // picture or bitmap button id -> resource name
    std::map<int, std::unique_ptr<ListView>> lists;
    // A drop-down with an edit part -> the entry chosen last. Windows drops its selection
    // when the typed text matches no entry; the entry the installer chose still holds.
    std::map<int, int> chosen;
    std::set<int> timers;

    HWND Control(int id) const;
    void KeepGroupReachable(int group);
    // Makes the dialog from the window's template: a child of `parent` (a page) or an owned
    // top-level window (a dialog). The window is hidden until shown.
    static bool Create(Window& window, HWND parent, bool child);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void Adopt(Window& window, HWND dialog);
    bool OnCommand(Window& window, int id, int code);
    void OnEditChange(Window& window, int id);
};

// The text of a window or control.
std::wstring WindowTextOf(HWND window);
// The dialog window of a window, or nullptr while it has none.
HWND HwndOf(Hwnd window);
// The top-level window a message box or file dialog should belong to.
HWND OwnerOf(Hwnd window);

// An in-memory DLGTEMPLATEEX with the dialog font, so that Windows converts dialog units.
std::vector<WORD> BuildDialogTemplate(const DialogTemplate& dialogTemplate, DWORD style,
                                      const wchar_t* caption);
// Makes sure the common controls are registered.
void InitControls();

}  // namespace ui
