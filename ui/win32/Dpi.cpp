#include "ui/win32/Dpi.h"

namespace ui {

namespace {

constexpr int kBaseDpi = USER_DEFAULT_SCREEN_DPI;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

GetDpiForWindowFunction FindGetDpiForWindow() {
    // Through void(*)(), so that the compiler takes the cast as meant.
    const auto found = reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow"));
    return reinterpret_cast<GetDpiForWindowFunction>(found);
}

}  // namespace

int WindowDpi(HWND window) {
    static const GetDpiForWindowFunction getDpiForWindow = FindGetDpiForWindow();
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int ScalePixels(HWND window, int pixels) {
    return MulDiv(pixels, WindowDpi(window), kBaseDpi);
}

}  // namespace ui
