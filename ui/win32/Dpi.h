// Sizes in pixels the pages give at 96 DPI, scaled to the DPI a window is drawn at.
#pragma once

#include "ui/win32/Win32.h"

namespace ui {

// The window's DPI: GetDpiForWindow where Windows has it (10, version 1607 on), else the
// screen's LOGPIXELSX.
int WindowDpi(HWND window);
// `pixels` at 96 DPI, at the window's DPI.
int ScalePixels(HWND window, int pixels);

}  // namespace ui
