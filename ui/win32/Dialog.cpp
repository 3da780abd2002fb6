// A modal dialog: the template's window, owned by the parent's top-level window, which is
// disabled while the dialog's own message loop runs.
#include "ui/win32/WindowImpl.h"

namespace ui {

class Dialog::Frame {
public:
    bool ended = false;
    int result = IDCANCEL;
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
        const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
        if (ownerWasEnabled) EnableWindow(owner, FALSE);
        ShowWindow(dialog, SW_SHOW);
        NotifyModalStarted(*this);
        RunModalLoop(dialog, frame.ended);
        if (ownerWasEnabled) EnableWindow(owner, TRUE);
        result = frame.result;
    }
    m_frame = nullptr;
    DestroyWindow();
    return result;
}

void Dialog::EndDialog(int result) {
    if (!m_frame) return;
    m_frame->result = result;
    m_frame->ended = true;
}

}  // namespace ui
