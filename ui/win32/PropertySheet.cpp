// The wizard sheet: a frame of our own, the page area above Back / Next / Finish and Cancel.
// Pages are child dialogs in the page area. The close box and Escape do nothing; the wizard
// ends through its buttons. The keyboard works as in a system wizard: a new page takes the
// focus on its first control, Tab runs through the page and then the buttons, Enter presses
// the focused push button or else Next / Finish.
#include "ui/WizardFrame.h"
#include "ui/win32/Testing.h"
#include "ui/win32/Text.h"
#include "ui/win32/WindowImpl.h"

namespace ui {

namespace {

using wizard::kBackId;
using wizard::kButtonHeight;
using wizard::kButtonWidth;
using wizard::kFinishId;
using wizard::kMargin;
using wizard::kNextId;

constexpr UINT kMsgSetButtons = WM_APP + 3;
// The focus goes to the new page once its change is done and the frame is active.
constexpr UINT kMsgFocusPage = WM_APP + 4;
// An ISO 639 language name and its terminating null.
constexpr int kLanguageNameChars = 9;

// An etched edge is two pixels thick at any DPI, as Windows draws it.
constexpr int kEtchedLineHeight = 2;

// The language of the system's own texts, as an ISO 639 name ("de").
std::string UiLanguage() {
    wchar_t name[kLanguageNameChars] = {};
    const int length = GetLocaleInfoW(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT),
                                      LOCALE_SISO639LANGNAME, name, kLanguageNameChars);
    std::string language;
    for (int i = 0; i + 1 < length; ++i) language += static_cast<char>(name[i]);
    return language;
}

// The buttons, placed by Layout; Finish shows once the last page asks for it.
DialogTemplate FrameTemplate(const wizard::FrameButtons& buttons) {
    DialogTemplate t{0, nullptr, 200, 100, {}};
    for (const wizard::FrameButton& b : buttons) {
        unsigned style = b.role == wizard::kFirstDefault ? unsigned{kDefault} : 0u;
        if (b.role == wizard::Role::Finish) style |= kHidden;
        t.controls.push_back(
            {b.id, Kind::Button, b.text, 0, 0, kButtonWidth, kButtonHeight, style});
    }
    return t;
}

}  // namespace

class PropertySheet::Frame {
  public:
    Frame(PropertySheet& sheet, HWND owner) : m_sheet(sheet), m_owner(owner) {
        InitControls();
        const std::vector<WORD> words = BuildDialogTemplate(
            FrameTemplate(m_buttons),
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME, L"");
        CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                   reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner, Proc,
                                   reinterpret_cast<LPARAM>(this));
        m_line = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, 0, 0,
                                 0, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
        // The close box is ignored, so the window does not offer it.
        EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
    ~Frame() {
        if (hwnd) ::DestroyWindow(hwnd);
    }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    // The page area grows to hold a page of that many dialog units.
    void Fit(int width, int height) {
        m_pageWidth = std::max(m_pageWidth, width);
        m_pageHeight = std::max(m_pageHeight, height);
        Layout();
    }

    POINT PageOrigin() const { return {0, 0}; }

    // Centred on the screen, not ended; shown by Reveal.
    void Begin() {
        RECT frame{};
        GetWindowRect(hwnd, &frame);
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const int w = frame.right - frame.left;
        const int h = frame.bottom - frame.top;
        SetWindowPos(hwnd, HWND_TOP, work.left + (work.right - work.left - w) / 2,
                     work.top + (work.bottom - work.top - h) / 2, 0, 0, SWP_NOSIZE);
        ended = false;
        result = -1;
        if (m_owner) EnableWindow(m_owner, FALSE);
    }

    void Reveal() {
        if (ended) return;
        SetWindowRgn(hwnd, nullptr, FALSE);
        EnableWindow(hwnd, TRUE);
        ShowWindow(hwnd, SW_SHOW);
        SetForegroundWindow(hwnd);
        FocusPageLater();
    }

    void End(int answer) {
        if (ended) return;
        result = answer;
        ended = true;
        if (m_owner) EnableWindow(m_owner, TRUE);
        Vanish();
    }

    HWND Button(int id) const { return GetDlgItem(hwnd, id); }

    // The page's first control that takes Tab, else a button: once the messages of the page
    // change are done, and while a dialog of ours holds the activation only when it is back
    // (taking the focus would activate the frame).
    void FocusPageLater() {
        m_focusPending = true;
        PostMessageW(hwnd, kMsgFocusPage, 0, 0);
    }

    void FocusPage(HWND page) {
        if (!m_focusPending || GetActiveWindow() != hwnd) return;
        m_focusPending = false;
        HWND first = page ? GetNextDlgTabItem(page, nullptr, FALSE) : nullptr;
        if (first && IsChild(page, first) && TakesFocus(first))
            Focus(first);
        else
            FocusButton();
    }

    // After the buttons changed: a focus that went with a button goes to the default one.
    void KeepFocus() {
        if (m_focusPending || GetActiveWindow() != hwnd) return;
        HWND focus = GetFocus();
        if (!focus || !IsChild(hwnd, focus) || !TakesFocus(focus)) FocusButton();
    }

    // The default button when it is offered, else the first button that is.
    void FocusButton() {
        const int defaultId = LOWORD(SendMessageW(hwnd, DM_GETDEFID, 0, 0));
        if (HWND button = Button(defaultId); button && TakesFocus(button)) return Focus(button);
        for (const wizard::FrameButton& b : m_buttons)
            if (HWND button = Button(b.id); button && TakesFocus(button)) return Focus(button);
    }

    HWND hwnd = nullptr;
    bool ended = true;
    int result = -1;

  private:
    // Off the screen at once, and never unmapped: Wine's X11 driver holds the hiding of a
    // top-level window until the window manager confirms it, 2 s when none does, where the
    // process's end takes the window with it at once. Hidden to Windows too, so that
    // destroying it hides nothing either.
    void Vanish() {
        SetWindowRgn(hwnd, CreateRectRgn(0, 0, 0, 0), TRUE);  // the window owns the region now
        EnableWindow(hwnd, FALSE);
        SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~WS_VISIBLE);
    }

    // A control a person can be on: shown, enabled, not a page itself.
    static bool TakesFocus(HWND control) {
        return IsWindowVisible(control) && IsWindowEnabled(control) &&
               !(GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    }

    // As the dialog manager moves it: the default button follows, an edit's text is selected.
    void Focus(HWND control) const {
        SendMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }

    RECT Units(int x, int y, int w, int h) const {
        RECT r{x, y, x + w, y + h};
        MapDialogRect(hwnd, &r);
        return r;
    }

    void Place(HWND control, const RECT& r) const {
        SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void Layout() {
        const int rowY = m_pageHeight + kMargin;
        const int cancelX = m_pageWidth - kMargin - kButtonWidth;
        const int nextX = cancelX - wizard::kCancelGap - kButtonWidth;
        Place(Button(IDCANCEL), Units(cancelX, rowY, kButtonWidth, kButtonHeight));
        Place(Button(kNextId), Units(nextX, rowY, kButtonWidth, kButtonHeight));
        Place(Button(kFinishId), Units(nextX, rowY, kButtonWidth, kButtonHeight));
        Place(Button(kBackId), Units(nextX - kButtonWidth, rowY, kButtonWidth, kButtonHeight));
        RECT line = Units(0, m_pageHeight + wizard::kSeparatorOffset, m_pageWidth, 1);
        line.bottom = line.top + kEtchedLineHeight;
        Place(m_line, line);
        RECT client = Units(0, 0, m_pageWidth, rowY + kButtonHeight + kMargin);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
        SetWindowPos(hwnd, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(window, DWLP_USER, lParam);
            reinterpret_cast<Frame*>(lParam)->hwnd = window;
            return FALSE;
        }
        auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrW(window, DWLP_USER));
        if (!frame) return FALSE;
        PropertySheet& sheet = frame->m_sheet;
        switch (message) {
            case WM_COMMAND:
                if (HIWORD(wParam) != BN_CLICKED) return FALSE;
                if (HWND control = reinterpret_cast<HWND>(lParam);
                    control && GetParent(control) != window) {
                    // Enter on a page's push button: the dialog manager tells the frame.
                    SendMessageW(GetParent(control), WM_COMMAND, wParam, lParam);
                    return TRUE;
                }
                switch (LOWORD(wParam)) {
                    case kBackId:
                        sheet.PressBack();
                        break;
                    case kNextId:
                        sheet.PressNext();
                        break;
                    case kFinishId:
                        sheet.PressFinish();
                        break;
                    case IDCANCEL:
                        // Escape arrives as Cancel; only the button itself cancels.
                        if (GetKeyState(VK_ESCAPE) >= 0) sheet.PressCancel();
                        break;
                    default:
                        break;
                }
                return TRUE;
            case WM_CLOSE:
                return TRUE;
            case kMsgSetButtons:
                sheet.SetWizardButtons(static_cast<unsigned>(wParam));
                return TRUE;
            case WM_ACTIVATE:
                // After the dialog manager has given back the focus it had.
                if (LOWORD(wParam) != WA_INACTIVE && frame->m_focusPending)
                    PostMessageW(window, kMsgFocusPage, 0, 0);
                return FALSE;
            case kMsgFocusPage: {
                PropertyPage* page = sheet.GetActivePage();
                frame->FocusPage(page ? page->impl().hwnd : nullptr);
                return TRUE;
            }
            default:
                return FALSE;
        }
    }

    PropertySheet& m_sheet;
    HWND m_owner;
    const wizard::FrameButtons m_buttons = wizard::ButtonsFor(UiLanguage());
    HWND m_line = nullptr;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    bool m_focusPending = false;
};

PropertySheet::PropertySheet(Hwnd parent)
    : m_frame(std::make_unique<Frame>(*this, OwnerOf(parent))) {
    SetWizardButtons(0);
}

PropertySheet::~PropertySheet() = default;

void PropertySheet::FitPage(const DialogTemplate& t) {
    m_frame->Fit(t.width, t.height);
}

bool PropertySheet::CreatePageWindow(PropertyPage& page) {
    if (!Window::Impl::Create(page, m_frame->hwnd, true)) return false;
    const POINT origin = m_frame->PageOrigin();
    SetWindowPos(page.impl().hwnd, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

void PropertySheet::ShowActivePage() {
    for (PropertyPage* p : m_pages)
        if (HWND page = p->impl().hwnd) ShowWindow(page, p == m_active ? SW_SHOW : SW_HIDE);
    m_frame->FocusPageLater();
}

void PropertySheet::SetTitle(std::string_view title) {
    SetWindowTextW(m_frame->hwnd, WidenAnsi(title).c_str());
}

std::string PropertySheet::GetTitle() const {
    return NarrowAnsi(WindowTextOf(m_frame->hwnd));
}

void PropertySheet::SetIcon(std::string_view resource) {
    // Loaded once for the whole run: the window keeps using them.
    const HICON big = LoadIconResource(resource, GetSystemMetrics(SM_CXICON));
    const HICON small = LoadIconResource(resource, GetSystemMetrics(SM_CXSMICON));
    SendMessageW(m_frame->hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(m_frame->hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void PropertySheet::PostSetWizardButtons(unsigned flags) {
    PostMessageW(m_frame->hwnd, kMsgSetButtons, flags, 0);
}

void PropertySheet::SetWizardButtons(unsigned flags) {
    m_buttons = flags;
    const bool finishing = flags & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH);
    EnableWindow(m_frame->Button(kBackId), CanGoBack());
    ShowWindow(m_frame->Button(kNextId), finishing ? SW_HIDE : SW_SHOWNA);
    EnableWindow(m_frame->Button(kNextId), (flags & PSWIZB_NEXT) != 0);
    ShowWindow(m_frame->Button(kFinishId), finishing ? SW_SHOWNA : SW_HIDE);
    EnableWindow(m_frame->Button(kFinishId), CanFinish());
    SendMessageW(m_frame->hwnd, DM_SETDEFID, finishing ? kFinishId : kNextId, 0);
    m_frame->KeepFocus();
}

int PropertySheet::DoModal(int startPage) {
    Create(startPage);
    MSG msg;
    while (!m_frame->ended) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (IsDialogMessageW(m_frame->hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return m_frame->result;
}

void PropertySheet::Create(int startPage) {
    m_frame->Begin();
    SetActivePage(startPage);
    m_frame->Reveal();
}

bool PropertySheet::IsEnded() const {
    return m_frame->ended;
}

void PropertySheet::EndDialog(int result) {
    m_frame->End(result);
}

HWND SheetWindow(const PropertySheet& sheet) {
    return sheet.frame().hwnd;
}

}  // namespace ui
