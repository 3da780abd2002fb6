// A modal dialog: the template's window, owned by the parent's top-level window, which is
// disabled while the dialog's own message loop runs.
#include "ui/win32/WindowImpl.h"

#include <utility>

namespace ui {

class Dialog::Frame {
  public:
    bool ended = false;
    int result = IDCANCEL;
    HWND owner = nullptr;  // disabled while the dialog runs
};

namespace {

// Runs the messages of the thread until `ended`; false when the program is quitting.
bool RunModalLoop(HWND dialog, const bool& ended) {
    MSG msg;
    while (!ended) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (IsDialogMessageW(GetAncestor(msg.hwnd ? msg.hwnd : dialog, GA_ROOT), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace

int Dialog::DoModal() {
    Frame frame;
    m_frame = &frame;
    HWND owner = OwnerOf(m_parent);
    int result = IDCANCEL;
    if (Impl::Create(*this, owner, false) && OnInitDialog() && impl().hwnd) {
        HWND dialog = impl().hwnd;
        if (owner && IsWindowEnabled(owner)) {
            EnableWindow(owner, FALSE);
            frame.owner = owner;
        }
        ShowWindow(dialog, SW_SHOW);
        // The first control that takes Tab as OnInitDialog left them, not as the template
        // had them when the dialog manager chose.
        if (HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE))
            SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
        NotifyModalStarted(*this);
        RunModalLoop(dialog, frame.ended);
        EndDialog(frame.result);  // the program is quitting
        result = frame.result;
    }
    m_frame = nullptr;
    DestroyWindow();
    return result;
}

// The dialog leaves the screen at once, as the system's EndDialog does, its owner enabled
// first so that the owner, not some other program, is activated; the window goes when the
// loop returns.
void Dialog::EndDialog(int result) {
    if (!m_frame) return;
    m_frame->result = result;
    m_frame->ended = true;
    if (m_frame->owner) EnableWindow(std::exchange(m_frame->owner, nullptr), TRUE);
    if (HWND dialog = impl().hwnd) ShowWindow(dialog, SW_HIDE);
}

}  // namespace ui
