// The protocol and supervisor pages: what they load from the record, what they store back,
// and whole sessions through every page.
#include <gtest/gtest.h>

#include <cstring>

#include "app/LangFile.h"
#include "app/StartPage.h"
#include "device/Bytes.h"
#include "link/DeviceCommands.h"
#include "pages/CustomEventDlg.h"
#include "pages/DTMFconf.h"
#include "pages/General.h"
#include "pages/IPconf.h"
#include "pages/PhoneProp.h"
#include "pages/RC_SMSConf.h"
#include "pages/SMSconf.h"
#include "pages/Supervisor.h"
#include "resources/Resource.h"
#include "tests/support/Wizard.h"
#include "transfer/EndPage.h"

using namespace layout;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A wizard whose unit has `edit` applied, shown at `id` once the unit has been found.
struct PageFixture {
    explicit PageFixture(const std::function<void(DeviceData&)>& edit) {
        sim::Unit unit = w.simulator.Local();
        edit(unit.record);
        sim::StoreSettings(unit);
        w.simulator.SetLocal(unit);
        w.Start();
        EXPECT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    }
    ui::PropertyPage& Show(PageId id) {
        ui::PropertyPage* page = w.sheet->page(id);
        if (w.sheet->GetPageIndex(page) < 0) w.sheet->AddPage(page);
        w.sheet->SetActivePage(page);
        return *page;
    }
    // Leaves the page the way Next does, which stores it.
    void Store(PageId id) { w.sheet->page(id)->OnWizardNext(); }
    Wizard w;
};

Bytes Slot(const DeviceData& d, int number) {
    const auto s = d.slot(number);
    return {s.begin(), s.end()};
}

Bytes Field(const DeviceData& d, std::size_t offset, std::size_t size) {
    return {d.settingsBlock.begin() + static_cast<long>(offset),
            d.settingsBlock.begin() + static_cast<long>(offset + size)};
}

}  // namespace

TEST(SmsRows, PackedRowsFromNonContiguousSlotsKeepTheirRowMasks) {
    PageFixture f([](DeviceData& r) {
        r.setSlotText(kSlotSmsNumber0, "111");
        r.setSlotText(kSlotSmsNumber0 + 1, "");
        r.setSlotText(kSlotSmsNumber0 + 2, "333");
        r.setSlotText(kSlotSmsNumber0 + 3, "");
        std::memset(r.eventMask(MaskTable::Sms, 1).data(), 0, kEventMaskSize);
        EventMaskSet(r.eventMask(MaskTable::Sms, 1), 3, true);
        r.setReportFlags(r.reportFlags() | kFlagSmsOption);
    });
    auto& page = static_cast<CSMSconf&>(f.Show(PageId::Sms));
    EXPECT_EQ(Wizard::Rows(page, IDC_BOOK_LIST), (Rows{"111", "333"}));
    EXPECT_TRUE(page.IsDlgButtonChecked(IDC_BOOK_OPTION));
    // The second row's events are those of mask 1, not of the slot its number came from.
    std::vector<int> shown;
    f.w.OnDialog([&](ui::Window& d) {
        if (dynamic_cast<CPhoneProp*>(&d)) {
            Wizard::Click(d, IDC_EVENT_FILTER);
            Wizard::Click(d, ui::IDCANCEL);
            return;
        }
        ui::ListView* send = d.GetListView(IDC_SEND_LIST);
        for (int row = 0; row < send->GetItemCount(); ++row)
            shown.push_back(static_cast<int>(send->GetItemData(row)));
        Wizard::Click(d, ui::IDCANCEL);
    });
    ASSERT_TRUE(Wizard::WaitFor([&] { return f.w.sheet->m_bEventsLoaded == 1; }));
    page.GetListView(IDC_BOOK_LIST)->SetSelectionMark(1);
    Wizard::Click(page, IDC_BOOK_PROPERTIES);
    EXPECT_EQ(shown, std::vector<int>{3});

    Wizard::Click(page, IDC_BOOK_OPTION);  // uncheck
    f.Store(PageId::Sms);
    DeviceData& d = f.w.data;
    EXPECT_EQ(d.slotText(kSlotSmsNumber0), "111");
    EXPECT_EQ(d.slotText(kSlotSmsNumber0 + 1), "333");
    EXPECT_EQ(d.slot(kSlotSmsNumber0 + 2)[0], 0);
    EXPECT_EQ(d.slot(kSlotSmsNumber0 + 3)[0], 0);
    EXPECT_FALSE(d.reportFlag(kFlagSmsOption));
}

TEST(SmsRows, FifteenDigitsAreStoredAndTheSixteenDigitGuardHolds) {
    PageFixture f([](DeviceData& r) { r.setReportFlags(r.reportFlags() | kFlagSmsPstn); });
    auto& page = static_cast<CSMSconf&>(f.Show(PageId::Sms));
    ui::ListView* list = page.GetListView(IDC_BOOK_LIST);
    list->SetItemText(0, std::string(15, '1'));
    f.Store(PageId::Sms);
    EXPECT_EQ(f.w.data.slotText(kSlotSmsNumber0), std::string(15, '1'));

    // A 16-digit row can only come from outside the dialog; the store still refuses it.
    const std::uint32_t flags = f.w.data.reportFlags();
    const Bytes slot3 = Slot(f.w.data, kSlotSmsNumber0 + 2);
    Wizard::Click(page, IDC_BOOK_PSTN);  // a change that must not be stored
    list->SetItemText(0, "999");
    list->InsertItem(1, std::string(16, '2'), 0, 1);
    f.Store(PageId::Sms);
    EXPECT_EQ(f.w.data.slotText(kSlotSmsNumber0), "999");  // written before the long row
    EXPECT_EQ(f.w.data.slotText(kSlotSmsNumber0 + 1), "491609876543");  // kept
    EXPECT_EQ(Slot(f.w.data, kSlotSmsNumber0 + 2), slot3);
    EXPECT_EQ(f.w.data.reportFlags(), flags);
}

TEST(CidSmsPage, ShortAccountsRoundTripAndOnlyItsBitsChange) {
    PageFixture f([](DeviceData& r) {
        r.setSlotText(kSlotCidSmsNumber0, "111");
        r.setSlotText(kSlotCidSmsNumber0 + 1, "222");
        const std::uint8_t two[4] = {'4', '2', 0, 0};
        std::memcpy(r.account(AccountTable::CidSms, 0).data(), two, 4);
        StorePadded(r.account(AccountTable::CidSms, 1).data(), 4, "WXYZ");
        StorePadded(r.account(AccountTable::CidSms, 2).data(), 4, "keep");
        r.setReportFlags(0xFFFFFFFF & ~kFlagCidSmsPstn);
    });
    auto& page = static_cast<CRC_SMSConf&>(f.Show(PageId::CidSms));
    f.w.Screenshot("cid-sms");
    const Bytes before = Field(f.w.data, kCidSmsAccounts, 16);
    f.w.OnDialog([](ui::Window& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_CONFIRM), "42");
        Wizard::Click(d, ui::IDOK);  // a code that is not four long: refused
        EXPECT_EQ(d.GetDlgItemText(IDC_CONFIRM), "Account?!");
        Wizard::Click(d, ui::IDCANCEL);
    });
    page.GetListView(IDC_BOOK_LIST)->SetSelectionMark(0);
    Wizard::Click(page, IDC_BOOK_PROPERTIES);
    Wizard::Click(page, IDC_BOOK_PSTN);
    f.Store(PageId::CidSms);
    EXPECT_EQ(Field(f.w.data, kCidSmsAccounts, 16), before);
    EXPECT_EQ(f.w.data.reportFlags(), 0xFFFFFFFF);

    Wizard::Click(page, IDC_BOOK_PSTN);
    Wizard::Click(page, IDC_BOOK_OPTION);
    f.Store(PageId::CidSms);
    EXPECT_EQ(f.w.data.reportFlags(), 0xFFFFFFFF & ~kFlagCidSmsPstn & ~kFlagCidSmsOption);
}

TEST(DtmfPage, VariantOptionsAndAccounts) {
    PageFixture f([](DeviceData& r) {
        for (int i = 0; i < 4; ++i) r.setSlotText(kSlotDtmfNumber0 + i, "");
        r.setSlotText(kSlotDtmfNumber0, "0301");
        const std::uint8_t two[4] = {'1', '2', 0, 0};
        std::memcpy(r.account(AccountTable::Dtmf, 0).data(), two, 4);
        r.setReportFlags(r.reportFlags() | kFlagDtmfOption | kFlagDtmfVariant);
    });
    auto& page = static_cast<CDTMFconf&>(f.Show(PageId::Dtmf));
    f.w.Screenshot("dtmf");
    EXPECT_TRUE(page.IsDlgButtonChecked(IDC_SCENARIO_1));
    EXPECT_TRUE(page.IsItemVisible(IDC_SCENARIO_TITLE));
    EXPECT_EQ(page.GetDlgItemText(IDC_SCENARIO_0), LangText("English.ini", "610"));
    EXPECT_TRUE(page.IsDlgButtonChecked(IDC_BOOK_OPTION));
    Wizard::Click(page, IDC_SCENARIO_0);
    Wizard::Click(page, IDC_BOOK_OPTION);
    f.Store(PageId::Dtmf);
    EXPECT_FALSE(f.w.data.reportFlag(kFlagDtmfVariant));
    EXPECT_FALSE(f.w.data.reportFlag(kFlagDtmfOption));
    EXPECT_EQ(Field(f.w.data, kDtmfAccounts, 4), (Bytes{'1', '2', 0, 0}));
    // Shown again, the box stays as the installer left it.
    f.Show(PageId::Sms);
    f.Show(PageId::Dtmf);
    EXPECT_FALSE(page.IsDlgButtonChecked(IDC_BOOK_OPTION));

    // All four slots empty: storing clears them and still writes the bits.
    page.GetListView(IDC_BOOK_LIST)->DeleteAllItems();
    Wizard::Click(page, IDC_SCENARIO_1);
    f.Store(PageId::Dtmf);
    EXPECT_EQ(f.w.data.slot(kSlotDtmfNumber0)[0], 0);
    EXPECT_TRUE(f.w.data.reportFlag(kFlagDtmfVariant));
}

TEST(IpPage, AccessPointLoginSplitAndJoin) {
    const std::vector<std::pair<std::string, ApnLogin>> cases = {
        {"internet", {"internet", "", ""}}, {"apn,user:pass", {"apn", "user", "pass"}},
        {"apn,user", {"apn", "user", ""}},  {"apn,us:er:pa,ss", {"apn", "us", "er:pa,ss"}},
        {"a,b,c", {"a", "b,c", ""}},        {"", {"", "", ""}},
    };
    for (const auto& [text, parts] : cases) {
        const ApnLogin split = SplitApnLogin(text);
        EXPECT_EQ(split.accessPoint, parts.accessPoint) << text;
        EXPECT_EQ(split.user, parts.user) << text;
        EXPECT_EQ(split.password, parts.password) << text;
        EXPECT_EQ(JoinApnLogin(split), text);  // every loaded text goes back unchanged
    }
    EXPECT_EQ(JoinApnLogin({"apn", "", "secret"}), "apn");  // no password without a user
}

TEST(IpPage, DestinationsAccountsAndTheLogin) {
    const std::string longLogin = std::string(60, 'a') + ',' + std::string(40, 'u') + ':' + "pw";
    PageFixture f([&](DeviceData& r) {
        r.setSlotText(kSlotApnLogin, longLogin);
        r.setReportFlags(r.reportFlags() | kFlagIpOption);
    });
    auto& page = static_cast<CIPconf&>(f.Show(PageId::Ip));
    f.w.Screenshot("ip");
    EXPECT_EQ(page.GetDlgItemText(IDC_APN), std::string(60, 'a'));
    EXPECT_EQ(page.GetDlgItemText(IDC_APN_PASSWORD), "pw");
    EXPECT_EQ(page.GetDlgItemText(IDC_BOOK_TITLE), LangText("English.ini", "800"));
    f.Store(PageId::Ip);
    EXPECT_EQ(f.w.data.slotText(kSlotApnLogin), longLogin);  // loaded and stored unchanged
    EXPECT_TRUE(f.w.data.reportFlag(kFlagIpOption));

    Wizard::Type(page, IDC_APN, std::string(40, 'n'));  // 32 at most are typed
    Wizard::Type(page, IDC_APN_USER, "");
    Wizard::Type(page, IDC_APN_PASSWORD, "orphan");
    ui::ListView* list = page.GetListView(IDC_BOOK_LIST);
    list->SetItemText(0, std::string(63, 'd'));
    f.Store(PageId::Ip);
    EXPECT_EQ(f.w.data.slotText(kSlotApnLogin), std::string(32, 'n'));
    EXPECT_EQ(f.w.data.slotText(kSlotIpDestination0), std::string(63, 'd'));

    // A new destination with a short account, through the dialog with its 63-character limit.
    list->DeleteItem(1);
    f.w.OnDialog([](ui::Window& d) {
        Wizard::Type(d, IDC_NUMBER, std::string(70, 'h'));
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER).size(), 63);
        Wizard::Type(d, IDC_CONFIRM, "AB");
        Wizard::Click(d, ui::IDOK);
        Wizard::Type(d, IDC_CONFIRM, "ABC");
        Wizard::Click(d, ui::IDOK);
        Wizard::Type(d, IDC_CONFIRM, "ABCD");
        Wizard::Click(d, ui::IDOK);
    });
    Wizard::Click(page, IDC_BOOK_ADD);
    f.Store(PageId::Ip);
    EXPECT_EQ(f.w.data.slotText(kSlotIpDestination0 + 1), std::string(63, 'h'));
    EXPECT_EQ(Field(f.w.data, kIpAccounts + 4, 4), (Bytes{'A', 'B', 'C', 'D'}));

    list->SetItemText(0, std::string(64, 'x'));  // only from outside the dialog: the guard holds
    f.Store(PageId::Ip);
    EXPECT_EQ(f.w.data.slotText(kSlotIpDestination0), std::string(63, 'd'));
}

TEST(IpPage, LoginEditsTakeOnlyWhatTheSlotStillHolds) {
    {
        // An access point of 100 from the unit leaves 27 bytes for ",user:password".
        PageFixture f([](DeviceData& r) { r.setSlotText(kSlotApnLogin, std::string(100, 'a')); });
        auto& page = f.Show(PageId::Ip);
        Wizard::Type(page, IDC_APN_USER, std::string(32, 'u'));
        EXPECT_EQ(page.GetDlgItemText(IDC_APN_USER), std::string(26, 'u'));
        Wizard::Type(page, IDC_APN_PASSWORD, "secret");
        EXPECT_EQ(page.GetDlgItemText(IDC_APN_PASSWORD), "");
        Wizard::Type(page, IDC_APN_USER, std::string(20, 'u'));
        Wizard::Type(page, IDC_APN_PASSWORD, "secret");
        EXPECT_EQ(page.GetDlgItemText(IDC_APN_PASSWORD), "secre");
        f.Store(PageId::Ip);
        EXPECT_EQ(f.w.data.slotText(kSlotApnLogin),
                  std::string(100, 'a') + ',' + std::string(20, 'u') + ":secre");
        // The room one deletion gives the password cannot be taken back by an undo.
        Wizard::Press(page, IDC_APN, backend::Key::End);
        Wizard::Press(page, IDC_APN, backend::Key::Backspace);
        Wizard::Type(page, IDC_APN_PASSWORD, "secret");
        Wizard::Press(page, IDC_APN, backend::Key::Undo);
        EXPECT_EQ(page.GetDlgItemText(IDC_APN), std::string(99, 'a'));
        f.Store(PageId::Ip);
        EXPECT_EQ(f.w.data.slotText(kSlotApnLogin),
                  std::string(99, 'a') + ',' + std::string(20, 'u') + ":secret");
    }
    {
        // A long user from the unit: the access point and the password take what is left.
        PageFixture f(
            [](DeviceData& r) { r.setSlotText(kSlotApnLogin, "a," + std::string(120, 'u')); });
        auto& page = f.Show(PageId::Ip);
        Wizard::Type(page, IDC_APN_PASSWORD, "pass1");
        EXPECT_EQ(page.GetDlgItemText(IDC_APN_PASSWORD), "pass");
        Wizard::Type(page, IDC_APN, "net");
        EXPECT_EQ(page.GetDlgItemText(IDC_APN), "n");
        f.Store(PageId::Ip);
        EXPECT_EQ(f.w.data.slotText(kSlotApnLogin), "n," + std::string(120, 'u') + ":pass");
    }
}

TEST(SupervisorPage, StartScenarioFromTheFlags) {
    {
        PageFixture f([](DeviceData& r) {
            r.setPhoneBookFlags(0x81);
            r.setSlotText(kSlotUserCode, "4321");
        });
        auto& page = f.Show(PageId::Supervisor);
        f.w.Screenshot("supervisor");
        EXPECT_TRUE(page.IsDlgButtonChecked(IDC_BOOK_OPTION));
        EXPECT_TRUE(page.IsDlgButtonChecked(IDC_SCENARIO_1));
        EXPECT_FALSE(page.IsItemEnabled(IDC_BOOK_LIST));
        EXPECT_FALSE(page.IsItemEnabled(IDC_BOOK_ADD));
        EXPECT_FALSE(page.IsItemVisible(IDC_BOOK_PSTN));
        EXPECT_EQ(f.w.data.phoneBookFlags(), 0x81);
        EXPECT_EQ(f.w.data.slotText(kSlotUserCode), "4321");
    }
    {
        PageFixture f([](DeviceData& r) {
            r.setPhoneBookFlags(0x03 | 0x80 | 0x3C);
            r.setSlotText(kSlotUserCode, "0123456789ABCDE");
        });
        auto& page = f.Show(PageId::Supervisor);
        EXPECT_TRUE(page.IsDlgButtonChecked(IDC_SCENARIO_0));
        EXPECT_EQ(f.w.data.phoneBookFlags(), 0x80 | 0x3C);
        EXPECT_EQ(Slot(f.w.data, kSlotUserCode), Bytes(kUserCodeSize, 0));
    }
}

TEST(SupervisorPage, PackedNumbersPasswordsAndTheGuard) {
    PageFixture f([](DeviceData& r) {
        for (int i = 0; i < kSupervisorCount; ++i) r.setSlotText(kSlotSupervisorNumber0 + i, "");
        r.setSlotText(kSlotSupervisorNumber0, "100");
        r.setSlotText(kSlotSupervisorNumber0 + 3, "400");
        StorePadded(r.slot(kSlotSupervisorCode0).data(), 10, "0123456789");
        StorePadded(r.slot(kSlotSupervisorCode0 + 1).data(), 10, "pw1");
        r.setPhoneBookFlags(0x02);
    });
    auto& page = f.Show(PageId::Supervisor);
    EXPECT_EQ(Wizard::Rows(page, IDC_BOOK_LIST), (Rows{"100", "400"}));
    // The second row carries password slot 1.
    f.w.OnDialog([](ui::Window& d) {
        EXPECT_TRUE(d.IsItemVisible(IDC_OLD_PASSWORD));
        Wizard::Type(d, IDC_OLD_PASSWORD, "pw1");
        Wizard::Type(d, IDC_NEW_PASSWORD, "pw9");
        Wizard::Type(d, IDC_CONFIRM, "pw9");
        Wizard::Click(d, ui::IDOK);
    });
    page.GetListView(IDC_BOOK_LIST)->SetSelectionMark(1);
    Wizard::Click(page, IDC_BOOK_PROPERTIES);
    EXPECT_TRUE(f.w.messages.empty());
    f.Store(PageId::Supervisor);
    DeviceData& d = f.w.data;
    EXPECT_EQ(d.slotText(kSlotSupervisorNumber0 + 1), "400");
    for (int i = 2; i < kSupervisorCount; ++i) EXPECT_EQ(d.slot(kSlotSupervisorNumber0 + i)[0], 0);
    EXPECT_EQ(Slot(d, kSlotSupervisorCode0),
              (Bytes{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}));
    EXPECT_FALSE(d.phoneBookFlags() & kSupervisorOption);

    // Removing a row frees its number slot; the password bytes stay.
    page.GetListView(IDC_BOOK_LIST)->SetSelectionMark(1);
    Wizard::Click(page, IDC_BOOK_REMOVE);
    f.Store(PageId::Supervisor);
    EXPECT_EQ(d.slot(kSlotSupervisorNumber0 + 1)[0], 0);
    EXPECT_EQ(d.slotText(kSlotSupervisorCode0 + 1), "pw9");
    EXPECT_EQ(Slot(d, kSlotSupervisorCode0),
              (Bytes{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}));

    // A 16-digit number in row 2 stops the store: rows 0 and 1 stored, the rest and bit 7 kept.
    ui::ListView* list = page.GetListView(IDC_BOOK_LIST);
    list->InsertItem(1, "200", 0, 1);
    list->InsertItem(2, std::string(16, '3'), 0, 2);
    list->InsertItem(3, "500", 0, 3);
    Wizard::Click(page, IDC_BOOK_OPTION);
    f.Store(PageId::Supervisor);
    EXPECT_EQ(d.slotText(kSlotSupervisorNumber0 + 1), "200");
    EXPECT_EQ(d.slot(kSlotSupervisorNumber0 + 2)[0], 0);
    EXPECT_FALSE(d.phoneBookFlags() & kSupervisorOption);
}
