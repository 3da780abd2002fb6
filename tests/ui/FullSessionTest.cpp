// Sessions through every page of the wizard against the simulator, checked byte for byte.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/LangFile.h"
#include "app/StartPage.h"
#include "device/Bytes.h"
#include "device/Fields.h"
#include "link/DeviceCommands.h"
#include "link/PortSearch.h"
#include "pages/CustomEventDlg.h"
#include "pages/General.h"
#include "pages/PhoneProp.h"
#include "resources/Resource.h"
#include "site/Backup.h"
#include "tests/support/ExpectedImage.h"
#include "tests/support/TempDir.h"
#include "tests/support/Wizard.h"
#include "transfer/EndPage.h"
#include "transfer/Review.h"
#include "ui/Services.h"

using namespace layout;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::string En(const char* section) {
    return LangText("English.ini", section);
}

constexpr std::uint32_t kAllSupported =
    kFlagDtmfSupported | kFlagCidSmsSupported | kFlagSmsSupported | kFlagIpSupported;

// Finish, and the one upload it makes.
void Finish(Wizard& w) {
    ASSERT_TRUE(w.IsActive(PageId::End));
    w.FinishAndWaitForExit();
    ASSERT_EQ(w.simulator.AcceptedUploads().size(), 1u);
}

// A unit with everything in use and something in every field.
sim::Unit FullUnit() {
    sim::Unit unit = sim::DefaultUnit();
    auto& r = unit.record;
    r.setReportFlags(kAllSupported | kFlagsInstalledMask | kFlagDtmfPstn | kFlagCidSmsPstn |
                     kFlagSmsPstn | kFlagIpPstn | kFlagDtmfOption | kFlagSmsOption | kFlagIpOption |
                     kFlagCidSmsOption | kFlagDtmfVariant | kFlagAnd | 0x00F00000);
    r.settingsBlock[18] = 0x5A;  // bytes no page owns
    r.settingsBlock[20] = 0xA5;
    r.settingsBlock[21] = 0x3C;
    WriteLE32(&r.settingsBlock[kReserved08], 0x01020304);
    r.setTamperEventFlags(0x07 | 0x40);
    r.setCusdValue(65535);
    r.setPhoneBookFlags(0x82);
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i);
        r.setSlotText(kSlotIpDestination0 + i, "host" + n + ".example:77" + n);
        r.setSlotText(kSlotSmsNumber0 + i, "49170000000" + n);
        r.setSlotText(kSlotCidSmsNumber0 + i, "49151000000" + n);
        r.setSlotText(kSlotDtmfNumber0 + i, "03012345" + n);
        for (AccountTable t : {AccountTable::Dtmf, AccountTable::Ip, AccountTable::CidSms})
            StorePadded(r.account(t, i).data(), kAccountSize, i == 2 ? "7" : "A" + n + "c" + n);
        for (MaskTable t : {MaskTable::Sms, MaskTable::CidSms, MaskTable::Ip, MaskTable::Dtmf})
            for (int b = 0; b < static_cast<int>(kEventMaskSize); ++b)
                r.eventMask(t, i)[static_cast<std::size_t>(b)] =
                    static_cast<std::uint8_t>(17 * b + 5 * i + 3);
    }
    for (int i = 0; i < kSupervisorCount; ++i) {
        r.setSlotText(kSlotSupervisorNumber0 + i, "4917700000" + std::to_string(i));
        StorePadded(r.slot(kSlotSupervisorCode0 + i).data(), kSupervisorCodeSize,
                    i == 4 ? "0123456789" : "p\x8Fw" + std::to_string(i));
    }
    r.setSlotText(kSlotUserCode, "1234");
    // Bytes Windows-1252 leaves undefined survive the visit too.
    r.setSlotText(kSlotApnLogin,
                  "apn.example,us\x81\x8D\x8F\x90\x9D"
                  "er:pa:ss");
    r.setSlotText(kSlotEndPageText2, "second text");
    sim::StoreSettings(unit);
    return unit;
}

}  // namespace

TEST(FullSession, ChangingNothingSendsBackWhatTheUnitSent) {
    Wizard w;
    const sim::Unit unit = FullUnit();
    w.simulator.SetLocal(unit);
    w.Start();
    w.ToCommunicationPage();
    EXPECT_EQ(Wizard::Rows(*w.sheet->page<CGeneral>(PageId::General), IDC_INSTALLED),
              (Rows{En("301"), En("305"), En("303"), En("304")}));
    w.NextWhenEnabled();
    for (PageId page :
         {PageId::Dtmf, PageId::CidSms, PageId::Sms, PageId::Ip, PageId::Supervisor}) {
        ASSERT_TRUE(w.IsActive(page));
        w.NextWhenEnabled();
    }
    EXPECT_EQ(w.sheet->page<CEndPage>(PageId::End)->GetDlgItemText(IDC_END_CHANGE_COUNT),
              "No field will change: the unit keeps what it has.");
    Finish(w);
    // Read back, the unit holds all of it.
    EXPECT_EQ(w.sheet->page<CEndPage>(PageId::End)->GetDlgItemText(IDC_END_CHANGE_COUNT),
              "Verified: the unit holds every field written.");
    EXPECT_TRUE(w.messages.empty());

    Bytes settings = sim::SettingsReply(unit);
    settings.resize(kSettingsCopySize);
    settings[kTamperEventFlags] |= kTamperUploaded;  // set on every upload
    EXPECT_EQ(w.simulator.AcceptedUploads()[0], ExpectedImage(settings, UnitTexts(unit, 41)));
}

TEST(FullSession, EveryPageEditedAndTheUnitKeepsIt) {
    Wizard w;
    const sim::Unit unit = sim::DefaultUnit();
    w.Start();
    w.ToCommunicationPage();
    auto& general = *w.sheet->page<CGeneral>(PageId::General);
    Wizard::SelectRow(general, IDC_AVAILABLE, En("305"));
    Wizard::Click(general, IDC_LEFT);
    Wizard::SelectRow(general, IDC_AVAILABLE, En("301"));
    Wizard::Click(general, IDC_LEFT);
    w.NextWhenEnabled();
    EXPECT_EQ(w.Sequence(),
              (std::vector<PageId>{PageId::Error, PageId::Welcome, PageId::Start, PageId::Dialing,
                                   PageId::General, PageId::Sms, PageId::Ip, PageId::CidSms,
                                   PageId::Dtmf, PageId::Supervisor, PageId::End}));

    // SMS: the first recipient goes, a new one comes with events 2 and 60.
    ASSERT_TRUE(w.IsActive(PageId::Sms));
    ui::PropertyPage& sms = *w.sheet->GetActivePage();
    sms.GetListView(IDC_BOOK_LIST)->SetSelectionMark(0);
    Wizard::Click(sms, IDC_BOOK_REMOVE);
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->m_bEventsLoaded == 1; }));
    w.OnDialog([](ui::Window& d) {
        if (dynamic_cast<CPhoneProp*>(&d)) {
            Wizard::Type(d, IDC_NUMBER, "4915200000001");
            Wizard::Click(d, IDC_EVENT_FILTER);
            Wizard::Click(d, ui::IDOK);
            return;
        }
        Wizard::Click(d, IDC_ADVANCE);
        ui::ListView* pool = d.GetListView(IDC_POOL_LIST);
        for (int row = 0; row < pool->GetItemCount(); ++row)
            pool->SetItemSelected(row, pool->GetItemData(row) == 2 || pool->GetItemData(row) == 60);
        Wizard::Click(d, IDC_EVENTS_LEFT);
        Wizard::Click(d, ui::IDOK);
    });
    Wizard::Click(sms, IDC_BOOK_ADD);
    Wizard::Click(sms, IDC_BOOK_PSTN);
    Wizard::Click(sms, IDC_BOOK_OPTION);
    w.NextWhenEnabled();

    // IP: a new login, the second destination edited and moved up.
    ASSERT_TRUE(w.IsActive(PageId::Ip));
    ui::PropertyPage& ip = *w.sheet->GetActivePage();
    Wizard::Type(ip, IDC_APN, "net.qub");
    Wizard::Type(ip, IDC_APN_USER, "inst");
    Wizard::Type(ip, IDC_APN_PASSWORD, "");
    w.OnDialog([](ui::Window& d) {
        Wizard::Type(d, IDC_NUMBER, "10.20.30.41:7701");
        Wizard::Type(d, IDC_CONFIRM, "A1B2");
        Wizard::Click(d, ui::IDOK);
    });
    ip.GetListView(IDC_BOOK_LIST)->SetSelectionMark(1);
    Wizard::Click(ip, IDC_BOOK_PROPERTIES);
    Wizard::Click(ip, IDC_BOOK_UP);
    w.NextWhenEnabled();

    // Contact ID via SMS: a second recipient.
    ASSERT_TRUE(w.IsActive(PageId::CidSms));
    ui::PropertyPage& cid = *w.sheet->GetActivePage();
    w.OnDialog([](ui::Window& d) {
        Wizard::Type(d, IDC_NUMBER, "491511112222");
        Wizard::Type(d, IDC_CONFIRM, "9999");
        Wizard::Click(d, ui::IDOK);
    });
    Wizard::Click(cid, IDC_BOOK_ADD);
    w.NextWhenEnabled();

    // DTMF: the second variant and the option.
    ASSERT_TRUE(w.IsActive(PageId::Dtmf));
    ui::PropertyPage& dtmf = *w.sheet->GetActivePage();
    Wizard::Click(dtmf, IDC_SCENARIO_1);
    Wizard::Click(dtmf, IDC_BOOK_OPTION);
    w.NextWhenEnabled();

    // Supervisor: a third supervisor with a password, then the user password of scenario 1.
    ASSERT_TRUE(w.IsActive(PageId::Supervisor));
    ui::PropertyPage& supervisor = *w.sheet->GetActivePage();
    w.OnDialog([](ui::Window& d) {
        Wizard::Type(d, IDC_NUMBER, "491779990000");
        Wizard::Type(d, IDC_NEW_PASSWORD, "pw");
        Wizard::Type(d, IDC_CONFIRM, "pw");
        Wizard::Click(d, ui::IDOK);
    });
    Wizard::Click(supervisor, IDC_BOOK_ADD);
    w.OnDialog([](ui::Window& d) {
        Wizard::Type(d, IDC_NEW_PASSWORD, "555");
        Wizard::Type(d, IDC_CONFIRM, "555");
        Wizard::Click(d, ui::IDOK);
    });
    Wizard::Click(supervisor, IDC_SCENARIO_1);
    Wizard::Click(supervisor, IDC_BOOK_OPTION);
    w.NextWhenEnabled();

    auto& end = *w.sheet->page<CEndPage>(PageId::End);
    Wizard::Type(end, IDC_END_TEXT1, "Depot 3");
    Wizard::Click(end, IDC_TAMPER_TCP);
    Wizard::Type(end, IDC_CUSD, "1234");

    // Before Finish: the fields edited on every page, and only those, in the installer's words;
    // secrets only as changed. Looking changes nothing that is sent.
    const std::vector<std::string> edited = {"communication.dtmf",
                                             "communication.cid_sms",
                                             "dtmf.option",
                                             "dtmf.variant",
                                             "cid_sms.number.2",
                                             "cid_sms.account.2",
                                             "sms.pstn_trouble",
                                             "sms.option",
                                             "sms.number.1",
                                             "sms.events.1",
                                             "sms.number.2",
                                             "sms.events.2",
                                             "ip.destination.1",
                                             "ip.account.1",
                                             "ip.events.1",
                                             "ip.destination.2",
                                             "ip.events.2",
                                             "gprs.access_point",
                                             "gprs.user",
                                             "gprs.password",
                                             "supervisor.scenario",
                                             "supervisor.option",
                                             "supervisor.user_code",
                                             "supervisor.number.3",
                                             "supervisor.code.3",
                                             "tamper.tcp_error",
                                             "end.cusd",
                                             "end.text.1"};
    std::vector<std::string> listed;
    for (const auto& c : fields::ChangedFields(w.sheet->unitRecord(), *end.FinishRecord()))
        listed.push_back(c.field->name);
    EXPECT_EQ(listed, edited);
    EXPECT_EQ(end.GetDlgItemText(IDC_END_CHANGE_COUNT),
              "28 fields will change in the unit on Finish.");
    std::string shown;
    w.OnDialog([&](ui::Window& d) {
        shown = d.GetDlgItemText(IDC_CHANGES_TEXT);
        Wizard::Click(d, ui::IDOK);
    });
    Wizard::Click(end, IDC_END_CHANGES);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n') + 1, 28) << shown;
    for (const char* line :
         {"Communication, DTMF: off -> on", "SMS reporting, If PSTN Line in trouble: on -> off",
          "SMS reporting, Phone number 2: 491609876543 -> 4915200000001",
          "IP reporting (GPRS), Password: changed", "Supervisor access, Password 3: changed",
          "Supervisor access, User account password: changed", "End, AT_CUSD: 100 -> 1234",
          "End, Custom text 1: Shop 12, Market Street -> Depot 3",
          "Contact ID via SMS reporting, Phone number 2: (empty) -> 491511112222"})
        EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
    EXPECT_EQ(shown.find("s3cret"), std::string::npos);
    EXPECT_NE(shown.find("SMS reporting, Events 2: "), std::string::npos);

    // The handover record of what Finish writes: the configuration, no secret, nothing to run
    // or fetch.
    const std::filesystem::path report = w.dir.File("handover.html");
    ui::automation().onFileDialog = [&](const ui::FileDialogOptions& o, bool save) {
        EXPECT_TRUE(save);
        EXPECT_EQ(o.filterPattern, "*.html");
        return report;
    };
    Wizard::Click(end, IDC_END_REPORT);
    const std::string html = ReadBytes(report);
    for (const char* part : {"<h1>Handover record</h1>", "Depot 3", "356938035643809",
                             "4915200000001", "Changes in this session", "@page { size: A4"})
        EXPECT_NE(html.find(part), std::string::npos) << part;
    for (const char* secret : {"s3cret", "2468", "1357", "<script", "src=", "href=", "url("})
        EXPECT_EQ(html.find(secret), std::string::npos) << secret;
    // A phone book entry without its number is left out, its account and events with it.
    for (const char* row : {"<th>Phone number 4</th><td>(empty)", "<th>Account 4</th><td>(empty)"})
        EXPECT_EQ(html.find(row), std::string::npos) << row;
    Finish(w);

    // What the unit must have received, edit by edit.
    Bytes s = sim::SettingsReply(unit);
    s.resize(kSettingsCopySize);
    std::uint32_t flags = ReadLE32(&s[kReportFlags]);
    flags = (flags | kFlagsInstalledMask | kFlagSmsOption | kFlagDtmfVariant | kFlagDtmfOption) &
            ~kFlagSmsPstn;
    WriteLE32(&s[kReportFlags], flags);
    s[kTamperEventFlags] = kTamperGsmError | kTamperUploaded;
    WriteLE16(&s[kCusdValue], 1234);
    const Bytes smsRow1(unit.record.identReply.begin() + kSmsEventMasks + 20,
                        unit.record.identReply.begin() + kSmsEventMasks + 40);
    std::fill(s.begin() + kSmsEventMasks, s.begin() + kSmsEventMasks + 80, 0);
    std::copy(smsRow1.begin(), smsRow1.end(), s.begin() + kSmsEventMasks);
    s[kSmsEventMasks + 20 + 0] = 0x04;  // event 2
    s[kSmsEventMasks + 20 + 7] = 0x10;  // event 60
    std::swap_ranges(s.begin() + kIpEventMasks, s.begin() + kIpEventMasks + 20,
                     s.begin() + kIpEventMasks + 20);
    const char accounts[] = "A1B24711";
    std::copy(accounts, accounts + 8, s.begin() + kIpAccounts);
    const char cidAccounts[] = "08159999";
    std::copy(cidAccounts, cidAccounts + 8, s.begin() + kCidSmsAccounts);
    s[kPhoneBookFlags] = 0x81;

    std::vector<std::string> texts = UnitTexts(unit, 41);
    auto text = [&](int slot) -> std::string& { return texts[static_cast<std::size_t>(slot - 1)]; };
    text(kSlotApnLogin) = "net.qub,inst";
    text(kSlotIpDestination0) = "10.20.30.41:7701";
    text(kSlotIpDestination0 + 1) = "receiver1.qubrin-arc.net:7700";
    text(kSlotSmsNumber0) = "491609876543";
    text(kSlotSmsNumber0 + 1) = "4915200000001";
    text(kSlotCidSmsNumber0 + 1) = "491511112222";
    text(kSlotSupervisorNumber0 + 2) = "491779990000";
    text(kSlotSupervisorCode0 + 2) = "pw";
    text(kSlotUserCode) = "555";
    text(kSlotEndPageText1) = "Depot 3";
    const Bytes expected = ExpectedImage(s, texts);
    EXPECT_EQ(w.simulator.AcceptedUploads()[0], expected);
    w.Screenshot("finished");

    // The unit's next identification returns that configuration.
    w.sheet.reset();
    auto line = w.Cable();
    SerialPort port(*line);
    DeviceData again;
    ASSERT_EQ(FindDevice(port, again), 3);
    EXPECT_TRUE(std::equal(again.settingsBlock.begin() + kReportFlags,
                           again.settingsBlock.begin() + kSimPinOffset,
                           expected.begin() + 1 + kReportFlags));
    for (int n = 1; n <= kSlotCount; ++n) EXPECT_EQ(again.slotText(n), text(n)) << "slot " << n;
}

// A unit that takes the upload but keeps its old AT_CUSD number and end text: after Finish the
// box and the end page name both, the session stays for the handover record, and the
// after-backup holds what the unit holds.
TEST(FullSession, AUnitThatDoesNotKeepAFieldIsNamedAfterFinish) {
    Wizard w;
    w.simulator.AddUnkept(*sim::ParseUnkept("end.cusd"));
    w.simulator.AddUnkept(*sim::ParseUnkept("slot:" + std::to_string(kSlotEndPageText1)));
    w.Start();
    w.ToCommunicationPage();
    w.Next();
    w.ToEndPage();
    auto& end = *w.sheet->page<CEndPage>(PageId::End);
    const std::string heldText = end.GetDlgItemText(IDC_END_TEXT1);
    const std::string heldCusd = end.GetDlgItemText(IDC_CUSD);
    Wizard::Type(end, IDC_END_TEXT1, "Depot 3");
    Wizard::Type(end, IDC_CUSD, "4321");
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->CanFinish(); }));
    const auto before = Wizard::Backups();
    w.Finish();
    ASSERT_TRUE(Wizard::WaitFor([&] { return !w.messages.empty(); }, 15000));
    EXPECT_EQ(w.messages[0],
              "The unit accepted the upload, but read back it holds these fields otherwise:\n"
              "End, AT_CUSD: written 4321, the unit holds " +
                  heldCusd + "\nEnd, Custom text 1: written Depot 3, the unit holds " + heldText);
    EXPECT_EQ(end.GetDlgItemText(IDC_END_CHANGE_COUNT),
              "The unit does not hold what was written in: End, AT_CUSD; End, Custom text 1");
    ASSERT_EQ(end.Verdict()->outcome, fields::Outcome::Differs);
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.simulator.RequestCount(15) == 1; }));
    EXPECT_FALSE(w.sheet->IsEnded());
    EXPECT_EQ(w.sheet->exitStatus(), 1);
    w.Screenshot("differs");

    const site::SiteFile after = Wizard::AfterBackup(before);
    EXPECT_EQ(after.source, site::kReadBackSource);
    ASSERT_NE(site::ValueOf(after, "end.cusd"), nullptr);
    EXPECT_EQ(*site::ValueOf(after, "end.cusd"), heldCusd);
    EXPECT_EQ(*site::ValueOf(after, "end.text.1"), heldText);

    // The handover record gives the verdict too.
    const std::filesystem::path report = w.dir.File("handover.html");
    ui::automation().onFileDialog = [&](const ui::FileDialogOptions&, bool) { return report; };
    Wizard::Click(end, IDC_END_REPORT);
    ui::automation().onFileDialog = nullptr;
    const std::string html = ReadBytes(report);
    EXPECT_NE(html.find("<h2>Read back after writing</h2>"), std::string::npos);
    EXPECT_NE(html.find("End, AT_CUSD: written 4321, the unit holds " + heldCusd),
              std::string::npos);

    // A secret that differs is named, never shown.
    const fields::Verdict secret{fields::Outcome::Differs,
                                 {{fields::FindField("supervisor.code.1"), "s3cret", "old"}}};
    EXPECT_EQ(VerdictText(secret, {}, "English.ini"),
              "The unit accepted the upload, but read back it holds these fields otherwise:\n"
              "Supervisor access, Password 1: differs");
    w.sheet->PressCancel();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->IsEnded(); }));
    EXPECT_EQ(w.sheet->exitStatus(), 1);
}
