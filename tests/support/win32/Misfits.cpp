// What does not fit a window on the Win32 backend, measured as the controls draw: each text
// with its control's own font, against the room its control leaves it.
#include "tests/support/Backend.h"

#include "ui/win32/Testing.h"

#include <limits>
#include <string>

#include "ui/win32/Dpi.h"

namespace backend {

namespace {

// Past the row's string, a report row's label keeps this much room on each side, in pixels at
// 96 DPI, as the list view draws it.
constexpr int kLabelPadding = 6;
constexpr int kBufferChars = 1024;

std::wstring TextOf(HWND control) {
    wchar_t text[kBufferChars] = {};
    GetWindowTextW(control, text, kBufferChars);
    return text;
}

std::string Narrow(const std::wstring& text) {
    std::string bytes;
    for (const wchar_t c : text) bytes += c < 0x80 ? static_cast<char>(c) : '?';
    return bytes;
}

// The size `text` takes in the control's font; wrapped at `wrapWidth` unless it is 0.
SIZE Measure(HWND control, const std::wstring& text, int wrapWidth, UINT format) {
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, wrapWidth, 0};
    const UINT wrap = wrapWidth ? DT_WORDBREAK : DT_SINGLELINE;
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_EXPANDTABS | wrap | format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

// The room a control leaves its text, the frames and boxes Windows draws taken off (a push-like
// radio or check box is given no more room than one with its box); 0x0 for a control whose
// text is not measured.
SIZE Room(ui::Kind kind, const RECT& client) {
    SIZE room{client.right - client.left, client.bottom - client.top};
    const int edge = GetSystemMetrics(SM_CXEDGE);
    switch (kind) {
        case ui::Kind::Static:
            return room;
        case ui::Kind::ComboList:
            return {room.cx - GetSystemMetrics(SM_CXVSCROLL) - 2 * edge, room.cy};
        case ui::Kind::CheckBox:
        case ui::Kind::Radio:
            return {room.cx - GetSystemMetrics(SM_CXMENUCHECK) - edge, room.cy};
        case ui::Kind::GroupBox:  // the title runs along the top edge, over the frame
            return {room.cx - 4 * edge, std::numeric_limits<LONG>::max()};
        case ui::Kind::Button:
            return {room.cx - 4 * edge, room.cy - 2 * edge};
        default:
            return {0, 0};
    }
}

std::string Misfit(const std::string& name, const std::wstring& text, SIZE needed, SIZE room) {
    return name + " '" + Narrow(text) + "' needs " + std::to_string(needed.cx) + "x" +
           std::to_string(needed.cy) + ", has " + std::to_string(room.cx) + "x" +
           std::to_string(room.cy);
}

// Rows of a report list wider than its first column.
void ListMisfits(HWND list, const std::string& name, std::vector<std::string>& misfits) {
    if ((GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT) return;
    const int column = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    int imageWidth = 0;
    int imageHeight = 0;
    if (auto images =
            reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)))
        ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    const int padding = 2 * ui::ScalePixels(list, kLabelPadding);
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        wchar_t text[kBufferChars] = {};
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = kBufferChars;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        const int width = static_cast<int>(
            SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
        if (imageWidth + width + padding > column)
            misfits.push_back(Misfit(name, text, {imageWidth + width + padding, 0}, {column, 0}));
    }
}

}  // namespace

std::vector<std::string> Misfits(const ui::Window& window) {
    std::vector<std::string> misfits;
    HWND hwnd = ui::HwndOfWindow(window);
    RECT inside{};
    GetClientRect(hwnd, &inside);
    for (const ui::ControlTemplate& c : window.dialogTemplate().controls) {
        HWND control = ui::ControlOf(window, c.id);
        const LONG style = control ? GetWindowLongW(control, GWL_STYLE) : 0;
        if (!control || !(style & WS_VISIBLE) || c.kind == ui::Kind::BitmapButton) continue;
        const std::string name =
            std::to_string(window.dialogTemplate().id) + "/" + std::to_string(c.id);
        RECT frame{};
        GetWindowRect(control, &frame);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&frame), 2);
        RECT within{};
        IntersectRect(&within, &frame, &inside);
        if (!EqualRect(&within, &frame)) misfits.push_back(name + " lies outside");
        if (c.kind == ui::Kind::ListView) ListMisfits(control, name, misfits);
        RECT client{};
        GetClientRect(control, &client);
        const SIZE room = Room(c.kind, client);
        const std::wstring text = TextOf(control);
        if (room.cx == 0 || text.empty()) continue;
        const bool wraps = c.kind == ui::Kind::Static;
        const SIZE needed = Measure(control, text, wraps ? room.cx : 0, wraps ? DT_NOPREFIX : 0);
        if (needed.cx > room.cx || needed.cy > room.cy)
            misfits.push_back(Misfit(name, text, needed, room));
    }
    return misfits;
}

int Dpi(const ui::Window& window) {
    return ui::WindowDpi(ui::HwndOfWindow(window));
}

}  // namespace backend
