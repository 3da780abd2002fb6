// A whole session by keys alone, as a person without a mouse (or with a screen reader) does
// it: every key goes to whatever has the focus, through the event loop.
#include <gtest/gtest.h>

#include "app/StartPage.h"
#include "device/Bytes.h"
#include "pages/General.h"
#include "resources/Resource.h"
#include "tests/support/ExpectedImage.h"
#include "tests/support/Wizard.h"
#include "transfer/EndPage.h"

using namespace layout;
using backend::Key;
using backend::PressKey;

namespace {

// Tab (or Shift+Tab) until the control has the focus; false when a round of the window's
// controls and the sheet's buttons never reaches it.
bool TabTo(const ui::Window& window, int id, Key key = Key::Tab) {
    for (int n = 0; n < 40 && !backend::HasFocus(window, id); ++n) PressKey(key);
    return backend::HasFocus(window, id);
}

// The page has become the active one and, as a new page does, holds the focus itself, on its
// first control that takes it, not a button of the frame.
bool FocusedOn(Wizard& w, PageId id) {
    return w.WaitForPage(id) &&
           Wizard::WaitFor([&] { return backend::HasFocus(*w.sheet->page(id)); });
}

}  // namespace

TEST(Keyboard, LocalSessionByKeysAloneUploadsWhatTheKeysChose) {
    Wizard w;
    const sim::Unit unit = w.simulator.Local();
    std::size_t rows = 0;
    // Started as the program starts it: the sheet's own modal loop.
    w.RunModal([&] {
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
        auto& welcome = *w.sheet->page(PageId::Welcome);
        EXPECT_TRUE(backend::HasFocus(welcome, IDC_LANGUAGE));  // not Cancel
        PressKey(Key::Escape);  // the wizard ends through its buttons only
        EXPECT_FALSE(w.sheet->IsEnded());
        PressKey(Key::Return);  // Next, the default button
        ASSERT_TRUE(w.WaitForPage(PageId::Start));

        // A new page takes the focus on its first control; Space chooses an option drawn as a
        // push button, and Alt+N is Next.
        auto& start = *w.sheet->page<CStartPage>(PageId::Start);
        EXPECT_TRUE(backend::HasFocus(start, IDC_LOCAL));
        PressKey(Key::Space);
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
        EXPECT_TRUE(start.IsDlgButtonChecked(IDC_LOCAL));
        PressKey(Key::AltN);
        ASSERT_TRUE(FocusedOn(w, PageId::General));

        // Tab reaches a check box of the page; Space toggles it, Enter there is Next.
        auto& general = *w.sheet->page<CGeneral>(PageId::General);
        ASSERT_TRUE(Wizard::WaitFor([&] { return general.IsItemEnabled(IDC_AND); }));
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
        ASSERT_TRUE(TabTo(general, IDC_AND));
        ASSERT_TRUE(general.IsDlgButtonChecked(IDC_AND));
        PressKey(Key::Space);
        EXPECT_FALSE(general.IsDlgButtonChecked(IDC_AND));
        PressKey(Key::Return);
        ASSERT_TRUE(FocusedOn(w, PageId::Sms));

        // Enter on a push button of the page presses it; in the number dialog Enter is OK.
        ui::PropertyPage& sms = *w.sheet->GetActivePage();
        ASSERT_TRUE(Wizard::WaitFor([&] { return sms.IsItemEnabled(IDC_BOOK_ADD); }));
        rows = Wizard::Rows(sms, IDC_BOOK_LIST).size();
        ASSERT_TRUE(TabTo(sms, IDC_BOOK_ADD, Key::BackTab));
        bool typed = false;
        w.OnDialog([&](ui::Window& d) {
            // Once the dialog has come up it has the focus.
            typed = Wizard::WaitFor([&] { return backend::HasFocus(d); }) && TabTo(d, IDC_NUMBER);
            backend::TypeKeys("4915200000001");
            PressKey(Key::Return);
        });
        PressKey(Key::Return);
        EXPECT_TRUE(typed);
        EXPECT_EQ(w.dialogsShown.size(), 1u);
        ASSERT_EQ(Wizard::Rows(sms, IDC_BOOK_LIST).size(), rows + 1);
        EXPECT_EQ(Wizard::Rows(sms, IDC_BOOK_LIST).back(), "4915200000001");
        EXPECT_TRUE(w.IsActive(PageId::Sms));
        // The focus comes back to the button that opened the dialog.
        EXPECT_TRUE(Wizard::WaitFor([&] { return backend::HasFocus(sms, IDC_BOOK_ADD); }));

        // Alt+N on, Alt+B back and on again: the row stays.
        PressKey(Key::AltN);
        ASSERT_TRUE(FocusedOn(w, PageId::Ip));
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->CanGoBack(); }));
        PressKey(Key::AltB);
        ASSERT_TRUE(FocusedOn(w, PageId::Sms));
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
        PressKey(Key::AltN);
        ASSERT_TRUE(FocusedOn(w, PageId::Ip));
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
        PressKey(Key::AltN);
        ASSERT_TRUE(FocusedOn(w, PageId::Supervisor));
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
        PressKey(Key::AltN);
        ASSERT_TRUE(w.WaitForPage(PageId::End));

        // The end page's first edit has the focus with its text selected: typing replaces it.
        auto& end = *w.sheet->page<CEndPage>(PageId::End);
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->CanFinish(); }));
        EXPECT_TRUE(backend::HasFocus(end, IDC_END_TEXT1));
        backend::TypeKeys("Warehouse 7");
        EXPECT_EQ(end.GetDlgItemText(IDC_END_TEXT1), "Warehouse 7");
        ASSERT_TRUE(TabTo(end, IDC_TAMPER_GSM));
        PressKey(Key::Space);
        EXPECT_FALSE(end.IsDlgButtonChecked(IDC_TAMPER_GSM));
        w.Screenshot("keyboard-end");
        PressKey(Key::Return);  // Finish, the default button of the last page
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->IsEnded(); }, 20000));
        EXPECT_EQ(w.sheet->exitStatus(), 1);
    });

    std::vector<std::uint8_t> settings = sim::SettingsReply(unit);
    settings.resize(kSettingsCopySize);
    WriteLE32(&settings[kReportFlags], ReadLE32(&settings[kReportFlags]) & ~kFlagAnd);
    settings[kTamperEventFlags] = static_cast<std::uint8_t>(
        (settings[kTamperEventFlags] & ~kTamperGsmError) | kTamperUploaded);
    WriteLE16(&settings[kLanguageCode], 0x0409);
    auto texts = UnitTexts(unit, 41);
    texts[static_cast<std::size_t>(kSlotSmsNumber0 + static_cast<int>(rows) - 1)] = "4915200000001";
    texts[static_cast<std::size_t>(kSlotEndPageText1 - 1)] = "Warehouse 7";
    ASSERT_EQ(w.simulator.AcceptedUploads().size(), 1u);
    EXPECT_EQ(w.simulator.AcceptedUploads()[0], ExpectedImage(settings, texts));
}
