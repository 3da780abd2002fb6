// The Windows sheet does not offer what it ignores: Close is greyed in its system menu, and
// the close request Alt+F4 still makes leaves it open.
#include <gtest/gtest.h>

#include "tests/support/Wizard.h"
// The Windows headers after the interface's, whose names their macros would rename.
#include "ui/win32/Testing.h"

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
