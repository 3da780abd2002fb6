// Dialog templates as Windows takes them: DLGTEMPLATEEX in memory, with the platform's dialog
// font at its usual size, so that Windows itself turns dialog units into pixels.
#include "ui/win32/Text.h"
#include "ui/win32/WindowImpl.h"

#include <objbase.h>

namespace ui {

namespace {

// Predefined window classes by ordinal.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboClass = 0x0085;
// A drop-down's template height includes its open list.
constexpr int kComboListHeight = 100;
constexpr WORD kFontPoints = 8;

class TemplateWriter {
  public:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const std::wstring& text) {
        for (const wchar_t c : text) Word(static_cast<WORD>(c));
        Word(0);
    }
    void Ordinal(WORD ordinal) {
        Word(0xFFFF);
        Word(ordinal);
    }
    void AlignDword() {
        if (m_words.size() % 2) Word(0);
    }
    std::vector<WORD> Take() { return std::move(m_words); }

  private:
    std::vector<WORD> m_words;
};

struct ControlClass {
    WORD ordinal = 0;  // a predefined class, or 0 for a named one
    const wchar_t* name = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
};

ControlClass ButtonClass(const ControlTemplate& c) {
    const DWORD pushLike = (c.style & kPushLike) ? BS_PUSHLIKE : 0;
    switch (c.kind) {
        case Kind::CheckBox:
            return {kButtonClass, nullptr, BS_AUTOCHECKBOX | WS_TABSTOP | pushLike, 0};
        case Kind::Radio:
            return {kButtonClass, nullptr, BS_AUTORADIOBUTTON | WS_TABSTOP | pushLike, 0};
        case Kind::GroupBox:
            return {kButtonClass, nullptr, BS_GROUPBOX, 0};
        case Kind::BitmapButton:
            return {kButtonClass, nullptr, BS_OWNERDRAW | WS_TABSTOP, 0};
        default:
            return {kButtonClass, nullptr,
                    static_cast<DWORD>((c.style & kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                        WS_TABSTOP,
                    0};
    }
}

ControlClass EditClass(const ControlTemplate& c) {
    DWORD style = WS_TABSTOP;
    if (c.style & kMultiLine)
        style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
    else
        style |= ES_AUTOHSCROLL;
    if (c.style & kReadOnly) style |= ES_READONLY;
    if (c.style & kPassword) style |= ES_PASSWORD;
    if (c.style & kNumber) style |= ES_NUMBER;
    return {kEditClass, nullptr, style, WS_EX_CLIENTEDGE};
}

ControlClass ClassOf(const ControlTemplate& c) {
    switch (c.kind) {
        case Kind::Static:
            return {kStaticClass, nullptr,
                    static_cast<DWORD>((c.style & kCenter) ? SS_CENTER : SS_LEFT) | SS_NOPREFIX, 0};
        case Kind::Picture:
            return {kStaticClass, nullptr, SS_OWNERDRAW, 0};
        case Kind::Edit:
            return EditClass(c);
        case Kind::ComboList:
            return {kComboClass, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case Kind::ComboEdit:
            return {kComboClass, nullptr, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                    0};
        case Kind::ListView: {
            DWORD style = LVS_SHOWSELALWAYS | WS_TABSTOP;
            style |= (c.style & kReport) ? LVS_REPORT : LVS_LIST;
            if (c.style & kSingleSel) style |= LVS_SINGLESEL;
            if (c.style & kEditLabels) style |= LVS_EDITLABELS;
            if (c.style & kSortAscending) style |= LVS_SORTASCENDING;
            return {0, WC_LISTVIEWW, style, WS_EX_CLIENTEDGE};
        }
        case Kind::ProgressBar:
            return {0, PROGRESS_CLASSW, 0, 0};
        default:
            return ButtonClass(c);
    }
}

// Radios of one run are a group from a WS_GROUP control to the next; every other control
// starts a group of its own, so that a run ends where it ends in the template.
bool StartsGroup(const ControlTemplate& c, bool previousWasRadio) {
    if (c.kind != Kind::Radio) return true;
    return !previousWasRadio || (c.style & kGroup);
}

void WriteControl(TemplateWriter& out, const ControlTemplate& c, bool previousWasRadio) {
    const ControlClass cls = ClassOf(c);
    DWORD style = WS_CHILD | cls.style;
    if (!(c.style & kHidden)) style |= WS_VISIBLE;
    if (c.style & kDisabled) style |= WS_DISABLED;
    if (c.style & kVScroll) style |= WS_VSCROLL;
    if (StartsGroup(c, previousWasRadio)) style |= WS_GROUP;
    const bool combo = c.kind == Kind::ComboList || c.kind == Kind::ComboEdit;
    out.AlignDword();
    out.Dword(0);  // help id
    out.Dword(cls.exStyle);
    out.Dword(style);
    out.Word(static_cast<WORD>(c.x));
    out.Word(static_cast<WORD>(c.y));
    out.Word(static_cast<WORD>(c.w));
    out.Word(static_cast<WORD>(combo ? c.h + kComboListHeight : c.h));
    out.Dword(static_cast<DWORD>(c.id));
    if (cls.ordinal)
        out.Ordinal(cls.ordinal);
    else
        out.Text(cls.name);
    // An owner-drawn picture does not show its text; assistive technology reads it as its
    // name. An edit's or a list's name is given by NameControl.
    out.Text(c.kind == Kind::Edit || c.kind == Kind::ListView ? std::wstring() : WidenUtf8(c.text));
    out.Word(0);  // no creation data
}

}  // namespace

void InitControls() {
    static const bool registered = [] {
        // Screen readers get our accessible objects through COM.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                           ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
}

std::vector<WORD> BuildDialogTemplate(const DialogTemplate& t, DWORD style,
                                      const wchar_t* caption) {
    TemplateWriter out;
    out.Word(1);       // version
    out.Word(0xFFFF);  // extended
    out.Dword(0);      // help id
    out.Dword(0);      // extended style
    out.Dword(style | DS_SHELLFONT);
    out.Word(static_cast<WORD>(t.controls.size()));
    out.Word(0);
    out.Word(0);
    out.Word(static_cast<WORD>(t.width));
    out.Word(static_cast<WORD>(t.height));
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(caption ? caption : L"");
    out.Word(kFontPoints);
    out.Word(FW_NORMAL);
    out.Word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, character set
    out.Text(L"MS Shell Dlg");
    bool previousWasRadio = false;
    for (const ControlTemplate& c : t.controls) {
        WriteControl(out, c, previousWasRadio);
        previousWasRadio = c.kind == Kind::Radio;
    }
    return out.Take();
}

}  // namespace ui
