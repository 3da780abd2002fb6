// The test backend over the Win32 backend. Input arrives as a person's does on Windows: keys
// through the thread's message queue and the dialog manager, characters as WM_CHAR to the
// edit itself, a paste through the clipboard, a choice and a row with the notifications a
// click sends. The message loop is the program's: the dialog manager sees each message first.
#include "tests/support/Backend.h"

#include "ui/win32/Testing.h"

#include <objidl.h>  // gdiplus.h needs what WIN32_LEAN_AND_MEAN leaves out

#include <gdiplus.h>

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

LPARAM KeyData(UINT vk, bool up) {
    const auto scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    LPARAM data = 1 | (scan << 16);
    if (up) data |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    return data;
}

struct Stroke {
    UINT vk;
    bool control;
};

Stroke StrokeOf(Key key) {
    switch (key) {
        case Key::Return:
            return {VK_RETURN, false};
        case Key::Escape:
            return {VK_ESCAPE, false};
        case Key::Home:
            return {VK_HOME, false};
        case Key::End:
            return {VK_END, false};
        case Key::Delete:
            return {VK_DELETE, false};
        case Key::Backspace:
            return {VK_BACK, false};
        case Key::Undo:
            return {'Z', true};
    }
    return {0, false};
}

// The key (and Ctrl) held in the thread's keyboard state while its messages are handled, as
// they are while a person presses them.
void Hold(const Stroke& stroke, bool down) {
    BYTE state[256];
    GetKeyboardState(state);
    const BYTE bit = down ? 0x80 : 0;
    state[stroke.vk] = bit;
    if (stroke.control) state[VK_CONTROL] = state[VK_LCONTROL] = bit;
    SetKeyboardState(state);
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

void Press(ui::Window& window, int id, Key key) {
    HWND target = Focus(window, id);
    if (!target) return;
    const Stroke stroke = StrokeOf(key);
    Hold(stroke, true);
    PostMessageW(target, WM_KEYDOWN, stroke.vk, KeyData(stroke.vk, false));
    Pump();
    Hold(stroke, false);
    PostMessageW(target, WM_KEYUP, stroke.vk, KeyData(stroke.vk, true));
    Pump();
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
    Grab(ui::HwndOfWindow(window), folder, name);
}

void Screenshot(const ui::PropertySheet& sheet, const std::string& folder,
                const std::string& name) {
    Grab(ui::SheetWindow(sheet), folder, name);
}

void ClearSettings() {
    ui::ClearSettings();
}

}  // namespace backend
