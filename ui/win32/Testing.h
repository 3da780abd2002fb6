// What tests reach of the Win32 backend: the windows behind windows, controls, list views and
// the sheet, and a clean settings store.
#pragma once

#include "ui/win32/Win32.h"

namespace ui {

HWND HwndOfWindow(const Window& window);
HWND ControlOf(const Window& window, int id);
HWND SheetWindow(const PropertySheet& sheet);
HWND ListOf(const ListView& list);
// Empties the settings store of this program.
void ClearSettings();

}  // namespace ui
