// The phone number dialog, the phone book rows and the catalogue request of the phone book
// pages.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/LangFile.h"
#include "app/StartPage.h"
#include "app/Welcom.h"
#include "device/Bytes.h"
#include "pages/General.h"
#include "pages/PhoneProp.h"
#include "pages/SMSconf.h"
#include "pages/Supervisor.h"
#include "resources/Resource.h"
#include "tests/support/Wizard.h"

using namespace layout;

namespace {

std::string En(const char* section) {
    return LangText("English.ini", section);
}

struct PhoneDialog : ::testing::Test {
    void SetUp() override {
        w.Start();
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    }
    // Runs the dialog with the modes given; `act` plays the installer.
    int Run(std::function<void(CPhoneProp&)> setup, std::function<void(ui::Window&)> act) {
        w.OnDialog(std::move(act));
        CPhoneProp dialog(number, code, nullptr, 0, 0);
        setup(dialog);
        return dialog.DoModal();
    }
    Wizard w;
    std::string number;
    std::string code;
};

// Clicks OK while the dialog refuses it: true when the dialog stayed open.
bool StaysOpenOnOk(ui::Window& d) {
    Wizard::Click(d, ui::IDOK);
    return d.GetSafeHwnd() && Wizard::IsShown(d);
}

}  // namespace

TEST_F(PhoneDialog, EmptyNumberGetsThePlaceholderTwice) {
    const int result =
        Run([](CPhoneProp& p) { p.SetDigitsOnly(1); },
            [&](ui::Window& d) {
                EXPECT_EQ(d.GetWindowText(), En("811"));
                EXPECT_TRUE(StaysOpenOnOk(d));
                EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "??????");
                EXPECT_TRUE(StaysOpenOnOk(d));
                // After the placeholder digits go in, letters do not, typed or pasted; OK treats
                // the placeholder with anything added, or partly deleted, as the placeholder.
                Wizard::TypeMore(d, IDC_NUMBER, "12ab");
                EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "??????12");
                Wizard::Paste(d, IDC_NUMBER, "3c");
                EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "??????12");
                EXPECT_TRUE(StaysOpenOnOk(d));
                EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "??????12");
                Wizard::Press(d, IDC_NUMBER, backend::Key::Home);
                Wizard::Press(d, IDC_NUMBER, backend::Key::Delete);
                EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "?????12");
                EXPECT_TRUE(StaysOpenOnOk(d));
                Wizard::Press(d, IDC_NUMBER, backend::Key::Undo);  // an undo gains nothing either
                Wizard::TypeMore(d, IDC_NUMBER, "x");
                EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "?????12");
                Wizard::Type(d, IDC_NUMBER, "0049x30");  // digits only
                EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "004930");
                Wizard::Click(d, ui::IDOK);
            });
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(number, "004930");
}

TEST_F(PhoneDialog, LoadedNonDigitsStayAndNoneIsAdded) {
    number = "+49 30";
    const int result = Run([](CPhoneProp& p) { p.SetDigitsOnly(1); },
                           [&](ui::Window& d) {
                               Wizard::TypeMore(d, IDC_NUMBER, "1a+2");
                               Wizard::Paste(d, IDC_NUMBER, "3 ");
                               EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "+49 3012");
                               Wizard::Click(d, ui::IDOK);
                           });
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(number, "+49 3012");
}

TEST_F(PhoneDialog, NumberIsLimitedToWhatThePageStores) {
    for (int limit : {15, 63}) {
        Run([&](CPhoneProp& p) { p.SetNumberLimit(limit); },
            [&](ui::Window& d) {
                Wizard::Type(d, IDC_NUMBER, std::string(70, '5'));
                EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER).size(), limit);
                // A paste too long goes in as far as it fits.
                Wizard::Type(d, IDC_NUMBER, "12");
                Wizard::Paste(d, IDC_NUMBER, std::string(70, '7'));
                EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER),
                          "12" + std::string(static_cast<std::size_t>(limit - 2), '7'));
                Wizard::Click(d, ui::IDOK);
            });
        EXPECT_EQ(number.size(), limit);
    }
}

TEST_F(PhoneDialog, PasswordEntry) {
    // No current password: only new and confirmation, two empty fields accepted.
    number = "123";
    Run([](CPhoneProp& p) { p.SetPasswordEntry(1); },
        [&](ui::Window& d) {
            EXPECT_FALSE(d.IsItemVisible(IDC_OLD_PASSWORD));
            EXPECT_TRUE(d.IsItemVisible(IDC_NEW_PASSWORD));
            EXPECT_TRUE(d.IsItemVisible(IDC_CONFIRM));
            EXPECT_FALSE(d.IsItemVisible(IDC_EVENT_FILTER));
            Wizard::ScreenshotWindow(d, "phone-password");
            Wizard::Click(d, ui::IDOK);
        });
    EXPECT_EQ(code, "");

    // With a current password a wrong old one is refused even when new and confirmation agree.
    code = "secret";
    w.messages.clear();
    const int result = Run([](CPhoneProp& p) { p.SetPasswordEntry(1); },
                           [&](ui::Window& d) {
                               EXPECT_TRUE(d.IsItemVisible(IDC_OLD_PASSWORD));
                               Wizard::Type(d, IDC_OLD_PASSWORD, "Secret");
                               Wizard::Type(d, IDC_NEW_PASSWORD, "new");
                               Wizard::Type(d, IDC_CONFIRM, "new");
                               EXPECT_TRUE(StaysOpenOnOk(d));
                               Wizard::Type(d, IDC_OLD_PASSWORD, "secret");
                               Wizard::Type(d, IDC_CONFIRM, "nwe");
                               EXPECT_TRUE(StaysOpenOnOk(d));
                               Wizard::Type(d, IDC_CONFIRM, "new");
                               Wizard::Click(d, ui::IDOK);
                           });
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(code, "new");
    ASSERT_EQ(w.messages.size(), 4u);
    EXPECT_EQ(w.messages[0], En("705"));
    EXPECT_EQ(w.messages[1], "User account");
    EXPECT_EQ(w.messages[2], En("704"));
}

TEST_F(PhoneDialog, AccountCodeOfExactlyFourCharacters) {
    number = "4930";
    code = "12";
    Run([](CPhoneProp& p) { p.SetAccountEntry(1); },
        [&](ui::Window& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_CONFIRM), "12");
            EXPECT_EQ(d.GetDlgItemText(IDC_CONFIRM_LABEL), En("810"));
            EXPECT_EQ(d.GetWindowText(), En("812"));
            Wizard::ScreenshotWindow(d, "phone-account");
            for (const char* wrong : {"123", "12345"}) {
                Wizard::Type(d, IDC_CONFIRM, wrong);
                EXPECT_TRUE(StaysOpenOnOk(d));
                EXPECT_EQ(d.GetDlgItemText(IDC_CONFIRM), "Account?!");
            }
            Wizard::Type(d, IDC_CONFIRM, "Ab9z");
            Wizard::Click(d, ui::IDOK);
        });
    EXPECT_EQ(code, "Ab9z");

    // In Primary mode no account is asked for and the code stays.
    w.sheet->primaryMode = 1;
    code = "0815";
    Run([](CPhoneProp& p) { p.SetAccountEntry(1); },
        [&](ui::Window& d) {
            EXPECT_FALSE(d.IsItemVisible(IDC_CONFIRM));
            EXPECT_FALSE(d.IsItemVisible(IDC_EVENT_FILTER));
            Wizard::Click(d, ui::IDOK);
        });
    EXPECT_EQ(code, "0815");
}

TEST_F(PhoneDialog, PasswordOnlyChecksNothingButThePassword) {
    number = "untouched";
    code = "";
    Run(
        [](CPhoneProp& p) {
            p.SetPasswordEntry(1);
            p.SetPasswordOnly(1);
        },
        [&](ui::Window& d) {
            EXPECT_FALSE(d.IsItemVisible(IDC_NUMBER));
            EXPECT_EQ(d.GetWindowText(), En("816"));
            Wizard::Type(d, IDC_NEW_PASSWORD, "0123456789x");  // ten at most
            Wizard::Type(d, IDC_CONFIRM, "0123456789");
            Wizard::Click(d, ui::IDOK);
        });
    EXPECT_EQ(number, "untouched");
    EXPECT_EQ(code, "0123456789");
}

// --- phone book rows, on the SMS page ---

namespace {

struct SmsPage : ::testing::Test {
    void Open() {
        w.Start();
        w.ToCommunicationPage();
        w.NextWhenEnabled();
        ASSERT_TRUE(w.WaitForPage(PageId::Sms));
    }
    // SMS rows A, B, C with masks a, b, c and the bytes x in slot 3.
    void WithThreeRows() {
        sim::Unit unit = w.simulator.Local();
        auto& r = unit.record;
        r.setSlotText(kSlotSmsNumber0, "111");
        r.setSlotText(kSlotSmsNumber0 + 1, "222");
        r.setSlotText(kSlotSmsNumber0 + 2, "333");
        r.setSlotText(kSlotSmsNumber0 + 3, "");
        for (int i = 0; i < 4; ++i)
            std::memset(r.eventMask(MaskTable::Sms, i).data(), 'a' + (i < 3 ? i : 23),
                        kEventMaskSize);
        sim::StoreSettings(unit);
        w.simulator.SetLocal(unit);
    }
    std::uint8_t MaskByte(int slot) { return w.data.eventMask(MaskTable::Sms, slot)[0]; }
    CSMSconf& page() const { return *w.sheet->page<CSMSconf>(PageId::Sms); }
    Wizard w;
};

}  // namespace

TEST_F(SmsPage, RemoveMovesCodesAndMasksWithTheRows) {
    WithThreeRows();
    Open();
    EXPECT_EQ(Wizard::Rows(page(), IDC_BOOK_LIST), (Rows{"111", "222", "333"}));
    EXPECT_EQ(page().GetDlgItemText(IDC_BOOK_TITLE), En("500"));
    EXPECT_EQ(page().GetDlgItemText(IDC_BOOK_LIST_LABEL), "");
    w.Screenshot("sms");
    page().GetListView(IDC_BOOK_LIST)->SetSelectionMark(0);
    Wizard::Click(page(), IDC_BOOK_REMOVE);
    EXPECT_EQ(Wizard::Rows(page(), IDC_BOOK_LIST), (Rows{"222", "333"}));
    EXPECT_EQ(
        std::string({char(MaskByte(0)), char(MaskByte(1)), char(MaskByte(2)), char(MaskByte(3))}),
        "bcxx");
    // A row added next starts with the mask its slot holds: x.
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->m_bEventsLoaded == 1; }));
    std::uint8_t seen = 0;
    w.OnDialog([&](ui::Window& d) {
        if (dynamic_cast<CPhoneProp*>(&d)) {
            Wizard::Type(d, IDC_NUMBER, "444");
            Wizard::Click(d, IDC_EVENT_FILTER);  // opens the event list on the row's mask
            Wizard::Click(d, ui::IDOK);
        } else {
            seen = w.data.eventMask(MaskTable::Sms, 2)[0];
            Wizard::Click(d, ui::IDCANCEL);
        }
    });
    Wizard::Click(page(), IDC_BOOK_ADD);
    EXPECT_EQ(seen, 'x');
    EXPECT_EQ(Wizard::Rows(page(), IDC_BOOK_LIST), (Rows{"222", "333", "444"}));
}

TEST_F(SmsPage, UpDownAndButtonsWithoutSelection) {
    WithThreeRows();
    Open();
    ui::ListView* list = page().GetListView(IDC_BOOK_LIST);
    list->SetSelectionMark(-1);
    for (int id : {IDC_BOOK_PROPERTIES, IDC_BOOK_REMOVE, IDC_BOOK_UP, IDC_BOOK_DOWN})
        Wizard::Click(page(), id);
    EXPECT_EQ(Wizard::Rows(page(), IDC_BOOK_LIST), (Rows{"111", "222", "333"}));
    EXPECT_TRUE(w.dialogsShown.empty());
    list->SetSelectionMark(0);
    Wizard::Click(page(), IDC_BOOK_UP);
    EXPECT_EQ(Wizard::Rows(page(), IDC_BOOK_LIST), (Rows{"111", "222", "333"}));
    Wizard::Click(page(), IDC_BOOK_DOWN);
    EXPECT_EQ(Wizard::Rows(page(), IDC_BOOK_LIST), (Rows{"222", "111", "333"}));
    EXPECT_EQ(list->GetSelectionMark(), 1);
    EXPECT_EQ(MaskByte(0), 'b');
    EXPECT_EQ(MaskByte(1), 'a');
    Wizard::Click(page(), IDC_BOOK_DOWN);
    EXPECT_EQ(Wizard::Rows(page(), IDC_BOOK_LIST), (Rows{"222", "333", "111"}));
    EXPECT_EQ(list->GetSelectionMark(), 2);
    EXPECT_EQ(MaskByte(2), 'a');
    Wizard::Click(page(), IDC_BOOK_DOWN);  // the last row goes no further
    EXPECT_EQ(Wizard::Rows(page(), IDC_BOOK_LIST), (Rows{"222", "333", "111"}));
    Wizard::Click(page(), IDC_BOOK_UP);
    EXPECT_EQ(Wizard::Rows(page(), IDC_BOOK_LIST), (Rows{"222", "111", "333"}));
    EXPECT_EQ(list->GetSelectionMark(), 1);
}

TEST_F(SmsPage, FullBookAndPropertiesOnAnActivatedRow) {
    Open();
    // The default unit has two recipients; two more fill the book.
    for (const char* number : {"333", "444"}) {
        w.OnDialog([&](ui::Window& d) {
            Wizard::Type(d, IDC_NUMBER, number);
            Wizard::Click(d, ui::IDOK);
        });
        Wizard::Click(page(), IDC_BOOK_ADD);
    }
    ASSERT_EQ(page().GetListView(IDC_BOOK_LIST)->GetItemCount(), 4);
    w.dialogsShown.clear();
    Wizard::Click(page(), IDC_BOOK_ADD);
    EXPECT_TRUE(w.dialogsShown.empty());
    ASSERT_EQ(w.messages.size(), 2u);
    EXPECT_EQ(w.messages[0], "The phone book is full!");
    EXPECT_EQ(w.messages[1], "User account");

    w.OnDialog([&](ui::Window& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "444");
        Wizard::Type(d, IDC_NUMBER, "4445");
        Wizard::Click(d, ui::IDOK);
    });
    page().GetListView(IDC_BOOK_LIST)->SetSelectionMark(3);
    page().GetListView(IDC_BOOK_LIST)->ActivateItem(3);
    EXPECT_EQ(Wizard::Rows(page(), IDC_BOOK_LIST).back(), "4445");
}

TEST_F(SmsPage, EventListWaitsForTheOneCatalogueRequest) {
    // The catalogue is slow to come: until it is in, the event list cannot be opened.
    w.simulator.AddFault({sim::FaultKind::Silent, sim::Phase::Events, 1});
    Open();
    bool enabled = true;
    w.OnDialog([&](ui::Window& d) {
        enabled = d.IsItemEnabled(IDC_EVENT_FILTER);
        Wizard::Click(d, ui::IDCANCEL);
    });
    page().GetListView(IDC_BOOK_LIST)->SetSelectionMark(0);
    Wizard::Click(page(), IDC_BOOK_PROPERTIES);
    EXPECT_FALSE(enabled);
    // Pages come and go before the names are in: on to the IP page, back to the communication
    // page and forward again, which makes the SMS page's window anew. None of them asks again,
    // and the answer still reaches the SMS page, which retries it.
    w.NextWhenEnabled();
    ASSERT_TRUE(w.IsActive(PageId::Ip));
    w.Back();
    ASSERT_TRUE(w.IsActive(PageId::Sms));
    w.Back();
    ASSERT_TRUE(w.IsActive(PageId::General));
    w.NextWhenEnabled();
    ASSERT_TRUE(w.IsActive(PageId::Sms));
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->m_bEventsLoaded == 1; }, 15000));
    EXPECT_EQ(w.simulator.RequestCount(12), 2u);  // the silent one and its retry
    EXPECT_EQ(w.beeps, 1);
    page().GetListView(IDC_BOOK_LIST)->SetSelectionMark(0);
    Wizard::Click(page(), IDC_BOOK_PROPERTIES);
    EXPECT_TRUE(enabled);
}

TEST(EventNames, AnAnswerForAForgottenUnitDoesNotCount) {
    // A paced catalogue is still on the wire when the installer goes back to the connection
    // page: those names belong to the connection being left, so they must not count as read.
    WizardOptions options;
    options.simulator.pace = true;
    Wizard w(options);
    w.Start();
    w.ToCommunicationPage();
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::Sms));
    w.Back();
    w.Back();
    ASSERT_TRUE(w.WaitForPage(PageId::Start));
    // The identification after Local is served after the catalogue, so once the lists are
    // filled the old answer has been delivered.
    Wizard::Click(*w.sheet->page(PageId::Start), IDC_LOCAL);
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::General));
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }, 15000));
    EXPECT_EQ(w.sheet->m_bEventsLoaded, 0);
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::Sms));
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->m_bEventsLoaded == 1; }, 15000));
    EXPECT_EQ(w.simulator.RequestCount(12), 2u);
    EXPECT_EQ(w.beeps, 0);
}

TEST_F(SmsPage, CatalogueIsReadOncePerConnectionAndRetried) {
    // The first answer is exactly 100 bytes: a failure, retried a second later.
    w.simulator.AddFault({sim::FaultKind::ShortCatalogue, sim::Phase::Events, 1});
    Open();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->m_bEventsLoaded == 1; }));
    EXPECT_EQ(w.simulator.RequestCount(12), 2u);
    EXPECT_EQ(w.beeps, 1);
    // Other phone book pages of the same connection do not ask again.
    w.Next();
    ASSERT_TRUE(w.WaitForPage(PageId::Ip));
    Wizard::Settle(100);
    EXPECT_EQ(w.simulator.RequestCount(12), 2u);
}

TEST_F(SmsPage, SixFailedCataloguesEndOnTheErrorPage) {
    w.simulator.AddFault({sim::FaultKind::ShortCatalogue, sim::Phase::Events, 6});
    Open();
    // The port as the error page finds it, before its own search answers.
    auto portOnError = std::make_shared<int>(-1);
    auto recordVisit = ui::automation().onPageActivated;
    ui::automation().onPageActivated = [this, portOnError, recordVisit](ui::Window& page) {
        recordVisit(page);
        if (&page == w.sheet->page(PageId::Error)) *portOnError = w.sheet->m_nComPort;
    };
    ASSERT_TRUE(w.WaitForPage(PageId::Error, 15000));
    EXPECT_EQ(w.simulator.RequestCount(12), 6u);
    EXPECT_EQ(w.beeps, 6);
    EXPECT_EQ(*portOnError, 0);  // the lost link's port is not taken for found
}

TEST_F(SmsPage, ANewLanguageReadsTheCatalogueAgainWithItsCode) {
    Open();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->m_bEventsLoaded == 1; }));
    // Back to the welcome page, German, and forward to the SMS page again.
    const std::size_t searches = w.simulator.RequestCount(10);
    w.sheet->SetActivePage(w.sheet->page(PageId::Welcome));
    Wizard::Choose(*w.sheet->page<CWelcom>(PageId::Welcome), IDC_LANGUAGE, "German");
    // Next is offered at once (the port is known), but the new search rewrites the record:
    // wait for it to end before moving on.
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.simulator.RequestCount(10) > searches; }));
    Wizard::Settle(100);
    w.ToCommunicationPage();
    EXPECT_EQ(w.sheet->page<CStartPage>(PageId::Start)->GetDlgItemText(IDC_LOCAL),
              LangText("German.ini", "103"));
    w.NextWhenEnabled();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.simulator.RequestCount(12) == 2; }));
    const auto requests = w.simulator.Requests();
    const auto last = std::find_if(requests.rbegin(), requests.rend(),
                                   [](const sim::Request& r) { return r.command == 12; });
    EXPECT_EQ(last->payload, (std::vector<std::uint8_t>{12, 0x07, 0x04}));
    EXPECT_EQ(page().GetDlgItemText(IDC_BOOK_ADD), LangText("German.ini", "407"));
}

// --- the supervisor page's scenario buttons ---

TEST(SupervisorPage, ScenarioOneCancelledKeepsTheFlagsAndAddGoesToTen) {
    Wizard w;
    sim::Unit unit = w.simulator.Local();
    unit.record.setPhoneBookFlags(0x82);
    unit.record.setSlotText(kSlotUserCode, "0123456789ABCDE");
    sim::StoreSettings(unit);
    w.simulator.SetLocal(unit);
    w.Start();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.sheet->SetActivePage(w.sheet->page(PageId::Supervisor));
    auto& page = *w.sheet->page<CSupervisor>(PageId::Supervisor);
    EXPECT_TRUE(page.IsDlgButtonChecked(IDC_SCENARIO_2));
    w.OnDialog([](ui::Window& d) { Wizard::Click(d, ui::IDCANCEL); });
    Wizard::Click(page, IDC_SCENARIO_1);
    EXPECT_EQ(w.data.phoneBookFlags(), 0x82);
    EXPECT_TRUE(page.IsDlgButtonChecked(IDC_SCENARIO_1));
    EXPECT_FALSE(page.IsItemEnabled(IDC_BOOK_LIST));

    Wizard::Click(page, IDC_SCENARIO_2);
    EXPECT_EQ(w.data.phoneBookFlags(), 0x82);
    int added = 0;
    w.OnDialog([&](ui::Window& d) {
        Wizard::Type(d, IDC_NUMBER, std::to_string(5550000 + added++));
        Wizard::Click(d, ui::IDOK);
    });
    for (int i = 0; i < 9; ++i) Wizard::Click(page, IDC_BOOK_ADD);
    EXPECT_EQ(page.GetListView(IDC_BOOK_LIST)->GetItemCount(), 10);  // 2 from the unit + 8
    EXPECT_EQ(w.messages.size(), 2u);                                // the ninth was refused

    // Scenario 0 empties userCode; scenario 1 then writes the password, ten bytes at most, and
    // nothing of the unit's longer code stays behind it.
    const auto userCode = [&] {
        const auto slot = w.data.slot(kSlotUserCode);
        return std::string(slot.begin(), slot.end());
    };
    Wizard::Click(page, IDC_SCENARIO_0);
    EXPECT_EQ(w.data.phoneBookFlags(), 0x80);
    EXPECT_EQ(userCode(), std::string(16, '\0'));
    w.OnDialog([](ui::Window& d) {
        EXPECT_FALSE(d.IsItemVisible(IDC_OLD_PASSWORD));
        Wizard::Type(d, IDC_NEW_PASSWORD, "9876543210");
        Wizard::Type(d, IDC_CONFIRM, "9876543210");
        Wizard::Click(d, ui::IDOK);
    });
    Wizard::Click(page, IDC_SCENARIO_1);
    EXPECT_EQ(w.data.phoneBookFlags(), 0x81);
    EXPECT_EQ(userCode(), std::string("9876543210\0\0\0\0\0\0", 16));
}
