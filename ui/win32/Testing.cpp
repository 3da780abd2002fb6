#include "ui/win32/Testing.h"

#include "ui/win32/WindowImpl.h"

namespace ui {

HWND HwndOfWindow(const Window& window) {
    return window.impl().hwnd;
}

HWND ControlOf(const Window& window, int id) {
    return window.impl().Control(id);
}

HWND ListOf(const ListView& list) {
    return list.impl().hwnd;
}

}  // namespace ui
