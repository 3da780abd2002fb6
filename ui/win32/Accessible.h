// Names for controls that do not show their own: a list, an edit or a drop-down is read by a
// screen reader under the label in front of it, or under its template text where it has no
// label. Windows' standard accessible objects would take the window text, which for these
// controls is their content.
#pragma once

#include "ui/win32/Win32.h"

#include <string>

namespace ui {

// The name is the current text of the dialog's control `labelId` (so it follows the language),
// or `text` when `labelId` is 0.
void NameControl(HWND control, int labelId, std::wstring text);

}  // namespace ui
