// Every page and dialog in every shipped language: each control lies inside its window and
// each text fits its control. The 200 % runs repeat it at that scale and, told the DPI to
// expect (QUBSET_EXPECT_DPI), first make sure the windows are drawn at it.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "device/EventCatalogue.h"
#include "device/Layout.h"
#include "pages/CustomEventDlg.h"
#include "pages/PhoneProp.h"
#include "resources/Resource.h"
#include "sim/Unit.h"
#include "tests/support/Backend.h"
#include "tests/support/Wizard.h"
#include "transfer/InfoDlg.h"
#include "transfer/PinCodeDlg.h"
#include "ui/Dialog.h"

namespace {

void ExpectFits(const ui::Window& window) {
    if (const char* dpi = std::getenv("QUBSET_EXPECT_DPI")) {
        EXPECT_EQ(backend::Dpi(window), std::atoi(dpi));
    }
    for (const std::string& misfit : backend::Misfits(window)) ADD_FAILURE() << misfit;
}

}  // namespace

// The pages as they come up after a unit was found, and the dialogs in each of their forms.
TEST(Layout, EveryPageAndDialogInEveryLanguage) {
    for (const char* language : {"English", "German"}) {
        SCOPED_TRACE(language);
        Wizard w;
        Wizard::SetProfile("Setting", "Language", language);
        w.Start();
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
        w.sheet->m_link.Stop();  // the pages are looked at, not worked through
        for (int id = 0; id < kPageCount; ++id) {
            ui::PropertyPage* page = w.sheet->page(static_cast<PageId>(id));
            if (w.sheet->GetPageIndex(page) < 0) w.sheet->AddPage(page);
            ASSERT_TRUE(w.sheet->SetActivePage(page));
            ExpectFits(*page);
        }
        int dialogs = 0;
        w.OnDialog([&](ui::Window& dialog) {
            ++dialogs;
            ExpectFits(dialog);
            if (dialog.dialogTemplate().id == IDD_EVENT_LIST)
                Wizard::ScreenshotWindow(dialog, std::string("layout-events-") + language);
            static_cast<ui::Dialog&>(dialog).EndDialog(ui::IDCANCEL);
        });
        CPinCodeDlg(0).DoModal();
        CInfoDlg(w.data, 0).DoModal();
        // Every event of the unit's catalogue chosen, so that the longest name is a row.
        WriteCatalogue(w.data.eventCatalogue.data(), layout::kEventCatalogueSize,
                       sim::DefaultEventNames());
        std::array<std::uint8_t, layout::kEventMaskSize> mask{};
        mask.fill(0xFF);
        CCustomEventDlg(mask.data(), 0, "4930123", 0).DoModal();
        std::string number = "4930123";
        std::string code = "1234";
        for (const int form :
             {0, 1, 2}) {  // a number with its account, a password change, a number
            CPhoneProp phone(number, code, mask.data(), 0, 0);
            phone.SetAccountEntry(form == 0);
            phone.SetDigitsOnly(form == 0);
            phone.SetPasswordEntry(form == 1);
            phone.DoModal();
        }
        EXPECT_EQ(dialogs, 6);
    }
}
