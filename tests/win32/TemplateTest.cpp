// The dialog-template builder, through Windows itself: the window CreateDialogIndirect makes
// from the built bytes is the one the template describes.
#include <gtest/gtest.h>

#include "ui/win32/WindowImpl.h"

namespace {

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

HWND Make(const ui::DialogTemplate& t) {
    ui::InitControls();
    const std::vector<WORD> words = ui::BuildDialogTemplate(t, WS_POPUP | WS_CAPTION, L"Template");
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                      reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr,
                                      PlainDialog, 0);
}

// A rectangle in dialog units as the dialog's font turns it into pixels: position and size
// each rounded, as the dialog manager does.
RECT Pixels(HWND dialog, int x, int y, int w, int h) {
    RECT r{x, y, w, h};
    MapDialogRect(dialog, &r);
    return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

RECT PlaceIn(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(Template, TheDialogFontAndItsUnitsReachTheWindow) {
    const ui::DialogTemplate t{1,
                               "",
                               211,
                               97,
                               {
                                   {10, ui::Kind::Static, "Label", 7, 9, 60, 8},
                                   {11, ui::Kind::Edit, "", 70, 7, 83, 14},
                                   {12, ui::Kind::Button, "OK", 151, 76, 50, 14},
                               }};
    HWND dialog = Make(t);
    ASSERT_NE(dialog, nullptr);
    // The 8-point dialog font, not the system font, for the dialog and each control.
    const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW face{};
    GetObjectW(font, sizeof face, &face);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(face.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    for (const int id : {10, 11, 12})
        EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, id, WM_GETFONT, 0, 0)), font)
            << id;
    // Dialog units at that font's size: the client area and each control where they put it.
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_TRUE(client == Pixels(dialog, 0, 0, 211, 97));
    for (const ui::ControlTemplate& c : t.controls)
        EXPECT_TRUE(PlaceIn(dialog, GetDlgItem(dialog, c.id)) == Pixels(dialog, c.x, c.y, c.w, c.h))
            << c.id;
    DestroyWindow(dialog);
}

// Each flag of a template reaches the control's window as the style Windows acts on.
TEST(Template, StyleFlagsReachTheControls) {
    using ui::Kind;
    struct Case {
        ui::ControlTemplate control;
        const wchar_t* windowClass;
        DWORD mask;
        DWORD style;
    };
    const Case cases[] = {
        {{1, Kind::Edit, "", 0, 0, 40, 12, ui::kNumber | ui::kPassword},
         L"Edit",
         ES_NUMBER | ES_PASSWORD | ES_AUTOHSCROLL | ES_MULTILINE,
         ES_NUMBER | ES_PASSWORD | ES_AUTOHSCROLL},
        {{3, Kind::Edit, "", 0, 0, 40, 40, ui::kMultiLine | ui::kReadOnly},
         L"Edit",
         ES_MULTILINE | ES_READONLY | WS_VSCROLL,
         ES_MULTILINE | ES_READONLY | WS_VSCROLL},
        {{4, Kind::Static, "&x", 0, 0, 40, 8, ui::kHidden | ui::kDisabled},
         L"Static",
         WS_VISIBLE | WS_DISABLED | SS_NOPREFIX,
         WS_DISABLED | SS_NOPREFIX},
        {{5, Kind::Radio, "r", 0, 0, 40, 12, ui::kPushLike},
         L"Button",
         BS_TYPEMASK | BS_PUSHLIKE,
         BS_AUTORADIOBUTTON | BS_PUSHLIKE},
        {{6, Kind::Button, "OK", 0, 0, 40, 14, ui::kDefault},
         L"Button",
         BS_TYPEMASK,
         BS_DEFPUSHBUTTON},
        {{7, Kind::BitmapButton, "OK", 0, 0, 40, 14}, L"Button", BS_TYPEMASK, BS_OWNERDRAW},
        {{8, Kind::ComboEdit, "", 0, 0, 40, 12}, L"ComboBox", CBS_DROPDOWNLIST, CBS_DROPDOWN},
        {{9, Kind::ComboList, "", 0, 0, 40, 12}, L"ComboBox", CBS_DROPDOWNLIST, CBS_DROPDOWNLIST},
        {{10, Kind::ListView, "", 0, 0, 40, 40,
          ui::kReport | ui::kSingleSel | ui::kEditLabels | ui::kSortAscending},
         WC_LISTVIEWW,
         LVS_TYPEMASK | LVS_SINGLESEL | LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SHOWSELALWAYS,
         LVS_REPORT | LVS_SINGLESEL | LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SHOWSELALWAYS},
        {{11, Kind::ListView, "", 0, 0, 40, 40},
         WC_LISTVIEWW,
         LVS_TYPEMASK | LVS_SINGLESEL,
         LVS_LIST},
        {{12, Kind::ProgressBar, "", 0, 0, 40, 8}, PROGRESS_CLASSW, WS_VISIBLE, WS_VISIBLE},
    };
    ui::DialogTemplate t{1, "", 100, 100, {}};
    for (const Case& c : cases) t.controls.push_back(c.control);
    HWND dialog = Make(t);
    ASSERT_NE(dialog, nullptr);
    for (const Case& c : cases) {
        HWND control = GetDlgItem(dialog, c.control.id);
        ASSERT_NE(control, nullptr) << c.control.id;
        wchar_t name[64] = {};
        GetClassNameW(control, name, 64);
        EXPECT_EQ(lstrcmpiW(name, c.windowClass), 0) << c.control.id;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & c.mask, c.style)
            << c.control.id;
    }
    DestroyWindow(dialog);
}

// Automatic radios are exclusive within a WS_GROUP run: a run ends at the next kGroup radio
// and at any other control.
TEST(Template, RadioRunsAreGroups) {
    using ui::Kind;
    const ui::DialogTemplate t{1,
                               "",
                               100,
                               100,
                               {
                                   {1, Kind::Radio, "a", 0, 0, 40, 10},
                                   {2, Kind::Radio, "b", 0, 10, 40, 10},
                                   {3, Kind::Radio, "c", 0, 20, 40, 10, ui::kGroup},
                                   {4, Kind::Radio, "d", 0, 30, 40, 10},
                                   {5, Kind::CheckBox, "e", 0, 40, 40, 10},
                                   {6, Kind::Radio, "f", 0, 50, 40, 10},
                               }};
    HWND dialog = Make(t);
    ASSERT_NE(dialog, nullptr);
    const bool starts[] = {true, false, true, false, true, true};
    for (int id = 1; id <= 6; ++id)
        EXPECT_EQ((GetWindowLongPtrW(GetDlgItem(dialog, id), GWL_STYLE) & WS_GROUP) != 0,
                  starts[id - 1])
            << id;
    // A click on b leaves a, and only a, of its run.
    CheckDlgButton(dialog, 1, BST_CHECKED);
    CheckDlgButton(dialog, 3, BST_CHECKED);
    SendDlgItemMessageW(dialog, 2, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 2), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 3), BST_CHECKED);
    DestroyWindow(dialog);
}
