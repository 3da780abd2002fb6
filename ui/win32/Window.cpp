// Windows over dialogs made from in-memory templates; the message map runs from the dialog
// procedure.
#include "ui/EditRules.h"
#include "ui/win32/Accessible.h"
#include "ui/win32/Text.h"
#include "ui/win32/WindowImpl.h"

namespace ui {

namespace {

// A window that is going away is hidden at once and destroyed from the message loop, so that
// a handler of one of its own controls may destroy it.
constexpr UINT kMsgDestroy = WM_APP + 2;

}  // namespace

std::wstring WindowTextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

namespace {

bool IsButton(Kind kind) {
    return kind == Kind::Button || kind == Kind::CheckBox || kind == Kind::Radio ||
           kind == Kind::BitmapButton;
}

// A control about to be disabled or hidden hands the focus on to the next one, as Qt's do:
// Windows would leave it nowhere, and a person's keys with it.
void HandOnFocus(HWND control) {
    HWND focus = GetFocus();
    if (!focus || (focus != control && !IsChild(control, focus))) return;
    SendMessageW(GetAncestor(control, GA_ROOT), WM_NEXTDLGCTL, 0, FALSE);
}

}  // namespace

HWND Window::Impl::Control(int id) const {
    const auto c = controls.find(id);
    return c == controls.end() ? nullptr : c->second;
}

HWND HwndOf(Hwnd handle) {
    const Window* window = FromHandle(handle);
    return window ? window->impl().hwnd : nullptr;
}

HWND OwnerOf(Hwnd handle) {
    HWND window = HwndOf(handle);
    return window ? GetAncestor(window, GA_ROOT) : nullptr;
}

Window::Window(const DialogTemplate& dialogTemplate)
    : m_template(dialogTemplate), m_impl(std::make_unique<Impl>()) {}

Window::~Window() {
    DestroyWindow();
}

bool Window::Impl::Create(Window& w, HWND parent, bool child) {
    InitControls();
    const DWORD style = child ? WS_CHILD | DS_CONTROL
                              : WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    const std::vector<WORD> words =
        BuildDialogTemplate(w.m_template, style, WidenUtf8(w.m_template.caption).c_str());
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                      reinterpret_cast<const DLGTEMPLATE*>(words.data()), parent,
                                      DialogProc, reinterpret_cast<LPARAM>(&w)) != nullptr;
}

void Window::Impl::Adopt(Window& w, HWND dialog) {
    hwnd = dialog;
    const TemplateLinks links = LinksOf(w.m_template);
    for (const ControlTemplate& c : w.m_template.controls) {
        if (c.id == IDC_STATIC) continue;
        HWND control = GetDlgItem(dialog, c.id);
        const auto label = links.labelOf.find(c.id);
        const int labelId = label == links.labelOf.end() ? 0 : label->second;
        if (IsNamedByLabel(c.kind) && (labelId || *c.text))
            NameControl(control, labelId, WidenUtf8(c.text));
        controls[c.id] = control;
        kinds[c.id] = c.kind;
        if (const auto group = links.groupOf.find(c.id); group != links.groupOf.end())
            radioGroup[c.id] = group->second;
        if (c.kind == Kind::Edit && !(c.style & kMultiLine))
            edits[c.id].digitsOnly = c.style & kNumber;
        if ((c.style & kPassword) && c.kind == Kind::Edit)
            SendMessageW(control, EM_SETPASSWORDCHAR, '*', 0);
        if (c.kind == Kind::Picture && c.image) pictures[c.id] = c.image;
        if (c.kind == Kind::BitmapButton) pictures[c.id] = c.text;
        if (c.kind == Kind::ListView)
            lists[c.id] = std::make_unique<ListView>(
                std::make_unique<ListView::Impl>(control, (c.style & kReport) != 0));
        if (c.kind == Kind::ComboEdit) {
            chosen[c.id] = -1;
            edits[c.id];  // its edit part takes what an edit takes
        }
    }
    w.AttachHandle();
}

void Window::Impl::OnEditChange(Window& w, int id) {
    EditState& edit = edits[id];
    HWND control = Control(id);
    if (kinds[id] == Kind::ComboEdit) control = FindWindowExW(control, nullptr, L"Edit", nullptr);
    std::wstring text = WindowTextOf(control);
    // ES_NUMBER and the edit's own limit only stop typing, and the limit cannot be 0; a
    // paste, a drop or an undo is judged here and undone.
    if ((edit.digitsOnly && GainsNonDigit(edit.previous, text)) || HoldsForeignCharacter(text) ||
        GrowsPastLimit(edit.previous, text, edit.maxLength)) {
        DWORD caret = 0;
        SendMessageW(control, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        const auto shorter =
            static_cast<long>(text.size()) - static_cast<long>(edit.previous.size());
        const long back = std::clamp(static_cast<long>(caret) - shorter, 0L,
                                     static_cast<long>(edit.previous.size()));
        std::wstring previous = edit.previous;
        edit.restoring = true;
        SetWindowTextW(control, previous.c_str());
        edit.restoring = false;
        SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(back), back);
        return;
    }
    edit.previous = std::move(text);
    w.NotifyChanged(id);
}

bool Window::Impl::OnCommand(Window& w, int id, int code) {
    const auto kind = kinds.find(id);
    if (kind == kinds.end()) {
        // Enter and Escape, with no such button on the dialog.
        if (code == BN_CLICKED) w.NotifyClicked(id);
        return code == BN_CLICKED;
    }
    switch (kind->second) {
        case Kind::Edit:
            if (code != EN_CHANGE) return false;
            if (const auto edit = edits.find(id); edit == edits.end())
                w.NotifyChanged(id);
            else if (!edit->second.restoring)
                OnEditChange(w, id);
            return true;
        case Kind::ComboList:
        case Kind::ComboEdit:
            if (code == CBN_EDITCHANGE && kind->second == Kind::ComboEdit) {
                if (!edits[id].restoring) OnEditChange(w, id);
                return true;
            }
            if (code != CBN_SELCHANGE) return false;
            // A drop-down's edit part takes the chosen entry only after this notification;
            // the handler reads the text as it will be.
            if (kind->second == Kind::ComboEdit) {
                const int index = static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
                chosen[id] = index;
                if (index >= 0) {
                    SetWindowTextW(Control(id), WidenAnsi(w.GetComboItemText(id, index)).c_str());
                    edits[id].previous = WindowTextOf(Control(id));
                }
            }
            w.NotifySelChange(id);
            return true;
        default:
            if (IsButton(kind->second) && code == BN_CLICKED) w.NotifyClicked(id);
            return code == BN_CLICKED;
    }
}

INT_PTR CALLBACK Window::Impl::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* w = reinterpret_cast<Window*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        w->impl().Adopt(*w, hwnd);
        return FALSE;
    }
    if (message == kMsgDestroy) {
        ::DestroyWindow(hwnd);
        return TRUE;
    }
    auto* w = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!w) return FALSE;
    Impl& impl = w->impl();
    // Each handler may destroy the window: nothing of it is touched after one has run.
    switch (message) {
        case WM_COMMAND:
            return impl.OnCommand(*w, LOWORD(wParam), HIWORD(wParam));
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            const auto list = impl.lists.find(static_cast<int>(header->idFrom));
            if (list == impl.lists.end()) return FALSE;
            const LRESULT answer = list->second->impl().OnNotify(*list->second, *header);
            SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, answer);
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            const int id = static_cast<int>(item.CtlID);
            const auto picture = impl.pictures.find(id);
            const std::string resource =
                picture == impl.pictures.end() ? std::string() : picture->second;
            if (impl.kinds[id] == Kind::BitmapButton)
                DrawBitmapButton(item, resource);
            else
                DrawPicture(item, resource);
            return TRUE;
        }
        case WM_TIMER:
            w->OnTimer(static_cast<int>(wParam));
            return TRUE;
        case WM_CLOSE:
            w->NotifyClicked(IDCANCEL);
            return TRUE;
        case kMsgModalStarted:
            if (automation().onModal) automation().onModal(*w);
            return TRUE;
        default:
            return FALSE;
    }
}

void Window::DestroyWindow() {
    HWND window = m_impl->hwnd;
    if (!window) return;
    DetachHandle();
    for (const int id : m_impl->timers) ::KillTimer(window, static_cast<UINT_PTR>(id));
    SetWindowLongPtrW(window, DWLP_USER, 0);
    ShowWindow(window, SW_HIDE);
    *m_impl = Impl{};
    PostMessageW(window, kMsgDestroy, 0, 0);
}

bool Window::HasItem(int id) const {
    return m_impl->Control(id) != nullptr;
}

void Window::SetDlgItemText(int id, std::string_view bytes) {
    HWND control = m_impl->Control(id);
    if (!control) return;
    const std::wstring text = WidenAnsi(bytes);
    // The program's own text is taken as it is, whatever the edit's rules.
    if (const auto edit = m_impl->edits.find(id); edit != m_impl->edits.end())
        edit->second.previous = text;
    SetWindowTextW(control, text.c_str());
}

std::string Window::GetDlgItemText(int id) const {
    HWND control = m_impl->Control(id);
    if (!control) return {};
    std::string text = NarrowAnsi(WindowTextOf(control));
    // A multi-line edit needs Windows line ends, which the program writes; it reads them back
    // as single line feeds, as the Qt backend gives them.
    const auto kind = m_impl->kinds.find(id);
    if (kind != m_impl->kinds.end() && kind->second == Kind::Edit && !m_impl->edits.contains(id))
        std::erase(text, '\r');
    return text;
}

void Window::CheckDlgButton(int id, bool checked) {
    HWND control = m_impl->Control(id);
    if (!control) return;
    // A radio checked by the program leaves its group as a click does.
    const auto group = m_impl->radioGroup.find(id);
    if (checked && group != m_impl->radioGroup.end())
        for (const auto& [other, otherGroup] : m_impl->radioGroup)
            if (other != id && otherGroup == group->second)
                SendMessageW(m_impl->Control(other), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (group != m_impl->radioGroup.end()) m_impl->KeepGroupReachable(group->second);
}

// Windows takes the tab stop from every radio it unchecks: a group with none checked keeps it
// on its first radio, or Tab would never reach the group (Local and Remote).
void Window::Impl::KeepGroupReachable(int group) {
    for (const auto& [id, itsGroup] : radioGroup)
        if (itsGroup == group && SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED)
            return;
    HWND first = Control(group);
    SetWindowLongPtrW(first, GWL_STYLE, GetWindowLongPtrW(first, GWL_STYLE) | WS_TABSTOP);
}

bool Window::IsDlgButtonChecked(int id) const {
    HWND control = m_impl->Control(id);
    return control && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::ClickDlgButton(int id) {
    HWND control = m_impl->Control(id);
    if (!control || !IsWindowEnabled(control)) return;
    const Kind kind = m_impl->kinds[id];
    if (kind == Kind::CheckBox) CheckDlgButton(id, !IsDlgButtonChecked(id));
    if (kind == Kind::Radio) CheckDlgButton(id, true);
    NotifyClicked(id);
}

void Window::ShowItem(int id, bool show) {
    HWND control = m_impl->Control(id);
    if (!control) return;
    if (!show) HandOnFocus(control);
    ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
}

void Window::EnableItem(int id, bool enable) {
    HWND control = m_impl->Control(id);
    if (!control) return;
    if (!enable) HandOnFocus(control);
    EnableWindow(control, enable);
}

bool Window::IsItemVisible(int id) const {
    HWND control = m_impl->Control(id);
    return control && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE);
}

bool Window::IsItemEnabled(int id) const {
    HWND control = m_impl->Control(id);
    return control && IsWindowEnabled(control);
}

void Window::LimitText(int id, int maxChars) {
    HWND control = m_impl->Control(id);
    if (!control) return;
    if (const auto edit = m_impl->edits.find(id); edit != m_impl->edits.end())
        edit->second.maxLength = maxChars;
    // 0 would lift the edit's own limit; the change filter holds that one.
    if (maxChars > 0) SendMessageW(control, EM_SETLIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

void Window::SetDigitsOnly(int id) {
    const auto edit = m_impl->edits.find(id);
    if (edit == m_impl->edits.end()) return;
    edit->second.digitsOnly = true;
    HWND control = m_impl->Control(id);
    SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | ES_NUMBER);
}

void Window::SetMasked(int id, bool masked) {
    HWND control = m_impl->Control(id);
    if (!control) return;
    SendMessageW(control, EM_SETPASSWORDCHAR, masked ? '*' : 0, 0);
    InvalidateRect(control, nullptr, TRUE);
}

ListView* Window::GetListView(int id) const {
    const auto list = m_impl->lists.find(id);
    return list == m_impl->lists.end() ? nullptr : list->second.get();
}

int Window::AddComboItem(int id, std::string_view text) {
    HWND combo = m_impl->Control(id);
    if (!combo) return -1;
    const std::wstring item = WidenAnsi(text);
    const auto index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
}

int Window::GetComboCount(int id) const {
    HWND combo = m_impl->Control(id);
    return combo ? std::max(0, static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0))) : 0;
}

std::string Window::GetComboItemText(int id, int index) const {
    HWND combo = m_impl->Control(id);
    if (!combo) return {};
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return NarrowAnsi(text);
}

void Window::SetComboSelection(int id, int index) {
    HWND combo = m_impl->Control(id);
    if (!combo) return;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (m_impl->chosen.count(id))
        m_impl->chosen[id] = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

int Window::GetComboSelection(int id) const {
    HWND combo = m_impl->Control(id);
    if (!combo) return -1;
    if (const auto chosen = m_impl->chosen.find(id); chosen != m_impl->chosen.end())
        return chosen->second;
    return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

void Window::SetProgressRange(int id, int low, int high) {
    if (HWND bar = m_impl->Control(id))
        SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(low), high);
}

void Window::SetProgressPos(int id, int position) {
    if (HWND bar = m_impl->Control(id))
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int Window::GetProgressPos(int id) const {
    HWND bar = m_impl->Control(id);
    return bar ? static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)) : 0;
}

void Window::SetPicture(int id, std::string_view resource) {
    HWND control = m_impl->Control(id);
    if (!control) return;
    m_impl->pictures[id] = std::string(resource);
    InvalidateRect(control, nullptr, TRUE);
}

void Window::SetWindowText(std::string_view caption) {
    if (m_impl->hwnd) SetWindowTextW(m_impl->hwnd, WidenAnsi(caption).c_str());
}

std::string Window::GetWindowText() const {
    return m_impl->hwnd ? NarrowAnsi(WindowTextOf(m_impl->hwnd)) : std::string();
}

void Window::ReplaceSel(int id, std::string_view text) {
    if (HWND edit = m_impl->Control(id))
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(WidenAnsi(text).c_str()));
}

void Window::SetTimer(int id, int ms) {
    if (!m_impl->hwnd) return;
    ::SetTimer(m_impl->hwnd, static_cast<UINT_PTR>(id), static_cast<UINT>(ms), nullptr);
    m_impl->timers.insert(id);
}

void Window::KillTimer(int id) {
    if (m_impl->hwnd) ::KillTimer(m_impl->hwnd, static_cast<UINT_PTR>(id));
}

}  // namespace ui
