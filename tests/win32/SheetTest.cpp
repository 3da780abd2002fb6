// The Windows sheet's frame. It does not offer what it ignores: Close is greyed in its system
// menu, and the close request Alt+F4 still makes leaves it open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/support/Wizard.h"
#include "ui/WizardFrame.h"
// The Windows headers after the interface's, whose names their macros would rename.
#include "ui/win32/Testing.h"

namespace {

// Pixels a push button keeps free of text on each side.
constexpr int kButtonEdge = 4;
// Room for any caption of the frame's buttons.
constexpr int kCaptionChars = 64;

std::wstring Caption(HWND button) {
    wchar_t text[kCaptionChars] = {};
    const int length = GetWindowTextW(button, text, kCaptionChars);
    return std::wstring(text, static_cast<std::size_t>(std::max(length, 0)));
}

}  // namespace

TEST(Sheet, CloseIsGreyedAndAltF4LeavesTheWizardOpen) {
    Wizard w;
    w.Start();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    HWND frame = ui::SheetWindow(*w.sheet);
    const UINT close = GetMenuState(GetSystemMenu(frame, FALSE), SC_CLOSE, MF_BYCOMMAND);
    EXPECT_NE(close, static_cast<UINT>(-1));
    EXPECT_TRUE(close & MF_GRAYED);
    // Alt+F4 as the system makes it of the key: a close request.
    SendMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    Wizard::Settle();
    EXPECT_FALSE(w.sheet->IsEnded());
    EXPECT_TRUE(IsWindowVisible(frame));
}

// The buttons are worded as the system's own wizards are, in its UI language, and each text
// fits its button. The run says which language its system has (QUBSET_EXPECT_UI_LANGUAGE,
// English when unset).
TEST(Sheet, ButtonsSpeakTheSystemLanguageAndFitTheirTexts) {
    const char* expected = std::getenv("QUBSET_EXPECT_UI_LANGUAGE");
    const bool german = expected && std::string_view(expected) == "de";
    if (german) {
        ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_GERMAN);
    }
    Wizard w;
    w.Start();
    HWND frame = ui::SheetWindow(*w.sheet);
    struct Case {
        int id;
        const wchar_t* english;
        const wchar_t* german;
    };
    for (const Case& c : {Case{ui::wizard::kBackId, L"< &Back", L"< &Zur\u00fcck"},
                          Case{ui::wizard::kNextId, L"&Next >", L"&Weiter >"},
                          Case{ui::wizard::kFinishId, L"&Finish", L"Fertig stellen"},
                          Case{ui::IDCANCEL, L"Cancel", L"Abbrechen"}}) {
        HWND button = GetDlgItem(frame, c.id);
        ASSERT_NE(button, nullptr) << c.id;
        const std::wstring text = Caption(button);
        EXPECT_EQ(text, german ? c.german : c.english) << c.id;
        HDC dc = GetDC(button);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
        const HGDIOBJ old = SelectObject(dc, font);
        RECT needed{};
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, old);
        ReleaseDC(button, dc);
        RECT room{};
        GetClientRect(button, &room);
        // The button's edges and its focus rectangle take a few pixels each side.
        EXPECT_LE(needed.right + 2 * kButtonEdge, room.right) << c.id;
    }
}
