// The test backend over the Win32 backend. Input arrives as a person's does on Windows: keys
// through the thread's message queue and the dialog manager, characters as WM_CHAR to the
// edit itself, a paste through the clipboard, a choice and a row with the notifications a
// click sends. The message loop is the program's: the dialog manager sees each message first.
#include "tests/support/Backend.h"

#include "ui/win32/Testing.h"

#include <objidl.h>  // gdiplus.h needs what WIN32_LEAN_AND_MEAN leaves out

#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "ui/ListView.h"

namespace backend {

namespace {

using Clock = std::chrono::steady_clock;

// Enough for every message a burst of posted work brings, few enough that a handler which
// posts to itself for ever cannot hold a wait past its deadline.
constexpr int kMaxMessagesPerPump = 10000;
// How long a wait sleeps when no message comes, before it asks its condition again: the
// simulator's thread changes what a test waits for without posting to this one.
constexpr DWORD kPollMs = 5;

// Marks the end of what is queued now: a pump leaves what its own handling and other threads
// post meanwhile for the next one, as Qt's event loop does, so that a wait sees each state
// its messages lead through.
constexpr UINT kMsgPumpEnd = WM_APP + 0x3F00;

constexpr int kTitleUnits = 512;      // longer than any title the sheet is given
constexpr int kUtf8BytesPerUnit = 3;  // a BMP character's most

void Dispatch(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

// Handles the queued messages, each as the program's loops do: the dialog manager first.
// Timers and paints, which Windows hands out only when nothing is posted, follow: those due.
void Pump() {
    PostThreadMessageW(GetCurrentThreadId(), kMsgPumpEnd, 0, 0);
    MSG msg;
    int n = 0;
    for (; n < kMaxMessagesPerPump && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (msg.message == kMsgPumpEnd && !msg.hwnd) break;
        Dispatch(msg);
    }
    for (const UINT kind : {WM_TIMER, WM_PAINT})
        while (n++ < kMaxMessagesPerPump && PeekMessageW(&msg, nullptr, kind, kind, PM_REMOVE))
            Dispatch(msg);
}

// Sleeps until a message arrives or `ms` pass.
void Idle(DWORD ms) {
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

std::wstring Utf16(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), length);
    return text;
}

// Where keys go: an edit, or the edit part of a drop-down.
HWND KeyTarget(ui::Window& window, int id) {
    HWND control = ui::ControlOf(window, id);
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    if (control && GetComboBoxInfo(control, &combo) && combo.hwndItem) return combo.hwndItem;
    return control;
}

// A person clicks into a field, after its text, before the first key: it takes the focus
// and the caret. Later keys go to the caret where the earlier ones left it.
HWND Focus(ui::Window& window, int id) {
    static HWND typingIn = nullptr;
    HWND target = KeyTarget(window, id);
    if (target && target != typingIn) {
        typingIn = target;
        SetFocus(target);
        const int end = GetWindowTextLengthW(target);
        SendMessageW(target, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
    return target;
}

struct Stroke {
    UINT vk;
    UINT modifier = 0;  // VK_CONTROL, VK_SHIFT or VK_MENU held with it
};

LPARAM KeyData(const Stroke& stroke, bool up) {
    const auto scan = static_cast<LPARAM>(MapVirtualKeyW(stroke.vk, MAPVK_VK_TO_VSC));
    LPARAM data = 1 | (scan << 16);
    if (stroke.modifier == VK_MENU) data |= LPARAM{1} << 29;  // the context code: Alt is down
    if (up) data |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    return data;
}

Stroke StrokeOf(Key key) {
    switch (key) {
        case Key::Return:
            return {VK_RETURN};
        case Key::Escape:
            return {VK_ESCAPE};
        case Key::Home:
            return {VK_HOME};
        case Key::End:
            return {VK_END};
        case Key::Delete:
            return {VK_DELETE};
        case Key::Backspace:
            return {VK_BACK};
        case Key::Undo:
            return {'Z', VK_CONTROL};
        case Key::Tab:
            return {VK_TAB};
        case Key::BackTab:
            return {VK_TAB, VK_SHIFT};
        case Key::Space:
            return {VK_SPACE};
        case Key::AltB:
            return {'B', VK_MENU};
        case Key::AltN:
            return {'N', VK_MENU};
    }
    return {0};
}

// The key (and its modifier) held in the thread's keyboard state while its messages are
// handled, as they are while a person presses them.
void Hold(const Stroke& stroke, bool down) {
    BYTE state[256];
    GetKeyboardState(state);
    const BYTE bit = down ? 0x80 : 0;
    state[stroke.vk] = bit;
    if (stroke.modifier == VK_CONTROL) state[VK_CONTROL] = state[VK_LCONTROL] = bit;
    if (stroke.modifier == VK_SHIFT) state[VK_SHIFT] = state[VK_LSHIFT] = bit;
    if (stroke.modifier == VK_MENU) state[VK_MENU] = state[VK_LMENU] = bit;
    SetKeyboardState(state);
}

// Down and up through the thread's queue, so that the dialog manager sees them first; each
// goes where the focus is at that moment.
void Strike(HWND target, const Stroke& stroke) {
    const bool alt = stroke.modifier == VK_MENU;
    Hold(stroke, true);
    PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, stroke.vk, KeyData(stroke, false));
    Pump();
    Hold(stroke, false);
    if (HWND focus = GetFocus()) target = focus;
    PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, stroke.vk, KeyData(stroke, true));
    Pump();
}

// What a person's keys reach: the focus, else the active window.
HWND FocusTarget() {
    HWND focus = GetFocus();
    return focus ? focus : GetActiveWindow();
}

bool WritePng(HBITMAP bitmap, const std::filesystem::path& file) {
    // The PNG encoder of GDI+.
    static const CLSID kPng = {
        0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    bool saved = false;
    {
        Gdiplus::Bitmap image(bitmap, nullptr);
        saved = image.Save(file.wstring().c_str(), &kPng, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

void Grab(HWND window, const std::string& folder, const std::string& name) {
    if (!window) return;
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    // What the screen shows: PrintWindow leaves the child windows out under Wine.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    BitBlt(dc, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    SelectObject(dc, old);
    std::filesystem::create_directories(Utf16(folder));
    WritePng(bitmap, std::filesystem::path(Utf16(folder)) / Utf16(name + ".png"));
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace

bool WaitFor(const std::function<bool()>& done, int ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (done()) return true;
        Pump();
        if (done()) return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        Idle(std::min(kPollMs, static_cast<DWORD>(left.count())));
    }
}

void Settle(int ms) {
    WaitFor([] { return false; }, ms);
}

void ProcessEvents() {
    Pump();
}

void Type(ui::Window& window, int id, const std::string& utf8) {
    HWND edit = Focus(window, id);
    if (!edit) return;
    for (const wchar_t c : Utf16(utf8)) SendMessageW(edit, WM_CHAR, c, 1);
}

void Paste(ui::Window& window, int id, const std::string& utf8) {
    HWND edit = Focus(window, id);
    if (!edit || !OpenClipboard(edit)) return;
    EmptyClipboard();
    const std::wstring text = Utf16(utf8);
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
    SendMessageW(edit, WM_PASTE, 0, 0);
}

void Clear(ui::Window& window, int id) {
    // Select all and Delete.
    HWND edit = Focus(window, id);
    if (!edit) return;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
}

void SetFromOutside(ui::Window& window, int id, const std::string& utf8) {
    if (HWND edit = KeyTarget(window, id))
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Utf16(utf8).c_str()));
}

void Press(ui::Window& window, int id, Key key) {
    if (HWND target = Focus(window, id)) Strike(target, StrokeOf(key));
}

void PressKey(Key key) {
    if (HWND target = FocusTarget()) Strike(target, StrokeOf(key));
}

void TypeKeys(const std::string& utf8) {
    for (const wchar_t c : Utf16(utf8)) {
        HWND target = FocusTarget();
        if (!target) return;
        PostMessageW(target, WM_CHAR, c, 1);
        Pump();
    }
}

bool HasFocus(const ui::Window& window) {
    HWND hwnd = ui::HwndOfWindow(window);
    return hwnd && IsChild(hwnd, GetFocus());
}

bool HasFocus(const ui::Window& window, int id) {
    HWND control = ui::ControlOf(window, id);
    HWND focus = GetFocus();
    return control && focus && (focus == control || IsChild(control, focus));
}

void Choose(ui::Window& window, int comboId, int index) {
    HWND combo = ui::ControlOf(window, comboId);
    if (!combo) return;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void SelectRow(ui::ListView& list, int row) {
    HWND view = ui::ListOf(list);
    if (!view) return;
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(view, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool IsShown(const ui::Window& window) {
    HWND hwnd = ui::HwndOfWindow(window);
    return hwnd && IsWindowVisible(hwnd);
}

void Screenshot(const ui::Window& window, const std::string& folder, const std::string& name) {
    Grab(GetAncestor(ui::HwndOfWindow(window), GA_ROOT), folder, name);
}

std::string ShownTitle(const ui::PropertySheet& sheet) {
    wchar_t title[kTitleUnits] = {};
    const int length = GetWindowTextW(ui::SheetWindow(sheet), title, kTitleUnits);
    char utf8[kTitleUnits * kUtf8BytesPerUnit] = {};
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, title, length, utf8, sizeof utf8, nullptr, nullptr);
    return std::string(utf8, static_cast<std::size_t>(std::max(bytes, 0)));
}

void ClearSettings() {
    ui::ClearSettings();
}

}  // namespace backend
