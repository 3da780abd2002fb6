// What tests need of a GUI backend beyond the ui/ interface: running its event loop, input
// as a person gives it (characters, keys, a click on a combo item or a list row), whether a
// window is on the screen, screenshots and an empty settings store. One implementation per
// backend.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ui {
class ListView;
class PropertySheet;
class Window;
}  // namespace ui

namespace backend {

// Runs the event loop until `done` holds; false when `ms` passed first.
bool WaitFor(const std::function<bool()>& done, int ms);
// Runs the event loop for a moment.
void Settle(int ms);
// Handles what is queued now.
void ProcessEvents();
// Types into an edit key by key at its caret, so that the edit's rules apply. The text is
// what a person types, in UTF-8, so that it may hold what no 8-bit code page has.
void Type(ui::Window& window, int id, const std::string& utf8);
// Pastes at the caret (Ctrl+V).
void Paste(ui::Window& window, int id, const std::string& utf8);
// Empties an edit.
void Clear(ui::Window& window, int id);
// Sets an edit's whole text from outside the program, as assistive technology does: through
// the accessible value on Qt, by WM_SETTEXT on Windows.
void SetFromOutside(ui::Window& window, int id, const std::string& utf8);
// A key pressed in a control that has the focus (Undo is Ctrl+Z, BackTab Shift+Tab, AltN
// Alt+N).
enum class Key {
    Return,
    Escape,
    Home,
    End,
    Delete,
    Backspace,
    Undo,
    Tab,
    BackTab,
    Space,
    AltB,
    AltN
};
void Press(ui::Window& window, int id, Key key);
// Keys as a person gives them: to whatever has the focus, through the event loop.
void PressKey(Key key);
void TypeKeys(const std::string& utf8);
// Whether the control (or the edit part or list inside it) has the keyboard focus; whether
// anything in the window has it.
bool HasFocus(const ui::Window& window, int id);
bool HasFocus(const ui::Window& window);
// Chooses the combo box's item as a click on it would (-1: none).
void Choose(ui::Window& window, int comboId, int index);
// Makes a row the current and only selected one, as a click on it would.
void SelectRow(ui::ListView& list, int row);
bool IsShown(const ui::Window& window);
// Saves a picture of the top-level window that shows `window` (a dialog's own, a page's
// sheet) as <folder>/<name>.png.
void Screenshot(const ui::Window& window, const std::string& folder, const std::string& name);
// The sheet's title as its window shows it, in UTF-8.
std::string ShownTitle(const ui::PropertySheet& sheet);
void ClearSettings();
// What does not fit a window: a control reaching out of it, a text larger than the room its
// control gives it and, where the backend sizes columns in device pixels, a row of a report
// list wider than its column. Hidden controls and the faces of bitmap buttons do not count.
std::vector<std::string> Misfits(const ui::Window& window);
// The dots per inch the window is drawn at.
int Dpi(const ui::Window& window);

}  // namespace backend
