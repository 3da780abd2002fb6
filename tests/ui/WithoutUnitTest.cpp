// Work without a unit: a site file edited on a unit that lives in the program, and a session
// with the demo unit, both on a line that has no port at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "app/StartPage.h"
#include "app/UnitInProgram.h"
#include "device/Fields.h"
#include "pages/General.h"
#include "resources/Resource.h"
#include "site/SiteFile.h"
#include "tests/support/Wizard.h"
#include "transfer/EndPage.h"
#include "ui/Services.h"

namespace {

// No port behind any number: every open fails and is counted, as is any write.
class NoPortLine : public SerialLine {
  public:
    bool Open(int) override {
        ++opens;
        return false;
    }
    void Close() override {}
    bool IsOpen() const override { return false; }
    void Configure() override {}
    void SetTimeouts(const CommTimeouts&) override {}
    int Read(std::uint8_t*, std::size_t) override { return -1; }
    bool Write(const std::uint8_t*, std::size_t) override {
        ++writes;
        return false;
    }
    void Abort() override {}
    void ClearAbort() override {}

    std::atomic<int> opens{0};
    std::atomic<int> writes{0};
};

// A wizard on a line without ports, shown at the error page it falls to.
struct PortlessWizard {
    PortlessWizard() : w(Options()) {
        auto line = std::make_unique<NoPortLine>();
        ports = line.get();
        w.lineOverride = std::move(line);
        w.Start();
    }
    static WizardOptions Options() {
        WizardOptions options;
        options.startSimulator = false;
        return options;
    }
    Wizard w;
    NoPortLine* ports = nullptr;
};

// Every file dialog answers with `path`; the names proposed are kept.
struct FileDialogAnswer {
    explicit FileDialogAnswer(const std::filesystem::path& path) {
        ui::automation().onFileDialog = [this, path](const ui::FileDialogOptions& options, bool) {
            proposed.push_back(options.proposedName);
            return path;
        };
    }
    ~FileDialogAnswer() { ui::automation().onFileDialog = nullptr; }
    std::vector<std::string> proposed;
};

// From the communication page with its lists filled: "And" on it, an access point on the IP
// page, a text on the end page.
void EditThreePages(Wizard& w) {
    Wizard::Click(*w.sheet->page<CGeneral>(PageId::General), IDC_AND);
    w.NextWhenEnabled();
    for (int i = 0; i < kPageCount && !w.IsActive(PageId::End); ++i) {
        if (w.IsActive(PageId::Ip)) Wizard::Type(*w.Active(), IDC_APN, "site.apn");
        w.NextWhenEnabled();
    }
    ASSERT_TRUE(w.IsActive(PageId::End));
    Wizard::Type(*w.sheet->page<CEndPage>(PageId::End), IDC_END_TEXT1, "Depot 3");
}

bool WaitForLists(Wizard& w) {
    return w.WaitForPage(PageId::General) && Wizard::WaitFor([&] {
               return !Wizard::Rows(*w.sheet->page<CGeneral>(PageId::General), IDC_INSTALLED)
                           .empty();
           });
}

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(WithoutUnit, SiteFileEditedOfflineUploadsAsTheSameEditsOnTheCable) {
    TempDir files;
    const auto opened = files.path() / "shop.qubsite";
    const auto saved = files.path() / "shop-edited.qubsite";
    site::SiteFile file =
        site::FromRecord(sim::DefaultUnit().record, false, "2026-05-01T08:30:00Z");
    site::KeepEventNames(file, sim::DefaultEventNames());
    ASSERT_TRUE(WriteBytes(opened, site::Serialize(file)));

    std::vector<std::uint8_t> onCable;
    {
        Wizard w;
        w.Start();
        w.ToCommunicationPage();
        EditThreePages(w);
        w.FinishAndWaitForExit();
        ASSERT_EQ(w.simulator.AcceptedUploads().size(), 1u);
        onCable = w.simulator.AcceptedUploads()[0];
    }
    {
        PortlessWizard p;
        Wizard& w = p.w;
        ASSERT_TRUE(w.WaitForPage(PageId::Error));
        {
            // The file the command line named, found on no port: edited without asking again.
            w.sheet->m_siteFiles.Open(0, opened);
            FileDialogAnswer answer({});
            Wizard::Click(*w.sheet->page(PageId::Error), IDC_WORK_WITHOUT_UNIT);
            EXPECT_TRUE(answer.proposed.empty());
        }
        // The error page's search may have been under way: from the click on, no port.
        const int opens = p.ports->opens;
        ASSERT_TRUE(w.WaitForPage(PageId::Welcome));
        w.NextWhenEnabled();
        ASSERT_TRUE(WaitForLists(w));
        EXPECT_TRUE(Holds(w.sheet->GetTitle(), "site file shop.qubsite")) << w.sheet->GetTitle();
        w.Screenshot("without-unit-communication");
        EditThreePages(w);
        // The event lists had the file's names to show.
        ASSERT_TRUE(w.sheet->m_bEventsLoaded);
        EXPECT_EQ(CatalogueNames(w.data.eventCatalogue.data(), layout::kEventCatalogueSize),
                  sim::DefaultEventNames());
        auto& end = *w.sheet->page<CEndPage>(PageId::End);
        EXPECT_EQ(end.GetDlgItemText(IDC_END_TITLE),
                  "Finish and save the site file (no unit is written)");
        EXPECT_EQ(end.GetDlgItemText(IDC_END_CHANGE_COUNT),
                  "3 fields differ from the opened file.");
        w.Screenshot("without-unit-end");
        // The changes are the edits, measured against the file.
        std::vector<std::string> changed;
        for (const auto& change : fields::ChangedFields(w.sheet->unitRecord(), *end.FinishRecord()))
            changed.push_back(change.field->name);
        EXPECT_EQ(changed, (std::vector<std::string>{"communication.and", "gprs.access_point",
                                                     "end.text.1"}));
        std::string heading;
        std::string shown;
        w.OnDialog([&](ui::Window& d) {
            heading = d.GetDlgItemText(IDC_CHANGES_LABEL);
            shown = d.GetDlgItemText(IDC_CHANGES_TEXT);
            Wizard::Click(d, ui::IDOK);
        });
        Wizard::Click(end, IDC_END_CHANGES);
        EXPECT_EQ(heading, "What differs from the opened file:");
        EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n') + 1, 3) << shown;
        // The file kept no passwords, and asking for them adds none.
        Wizard::Click(end, IDC_INCLUDE_PASSWORDS);
        FileDialogAnswer answer(saved);
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->CanFinish(); }));
        w.Finish();
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->IsEnded(); }));
        EXPECT_EQ(w.sheet->exitStatus(), 0);
        EXPECT_EQ(answer.proposed, std::vector<std::string>{"shop"});
        EXPECT_FALSE(w.Visited(PageId::Start) || w.Visited(PageId::Dialing));
        EXPECT_EQ(p.ports->opens, opens);
        EXPECT_EQ(p.ports->writes, 0);
    }
    site::Opened reread;
    std::string error;
    ASSERT_TRUE(site::ReadSiteFile(saved, &reread, &error)) << error;
    EXPECT_EQ(reread.soundness, site::Soundness::Sound);
    EXPECT_EQ(reread.file.eventNames, file.eventNames);
    for (const auto& [name, value] : reread.file.values)
        EXPECT_FALSE(fields::FindField(name)->secret) << name;

    // A file that keeps no names gives its unit the events' numbers to show instead.
    sim::Unit unnamed;
    ASSERT_TRUE(
        UnitOfSiteFile(site::FromRecord(sim::DefaultUnit().record, false, "x"), &unnamed, &error));
    const EventNames numbers =
        CatalogueNames(unnamed.record.eventCatalogue.data(), layout::kEventCatalogueSize);
    EXPECT_EQ(numbers[0], "0");
    EXPECT_EQ(numbers[151], "151");

    // The file edited offline, opened with the unit on the cable: the same upload.
    Wizard w;
    w.Start();
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::Start));
    {
        FileDialogAnswer answer(saved);
        Wizard::Click(*w.sheet->page(PageId::Start), IDC_OPEN_SITE_FILE);
    }
    Wizard::Click(*w.sheet->page(PageId::Start), IDC_LOCAL);
    w.NextWhenEnabled();
    ASSERT_TRUE(WaitForLists(w));
    w.NextWhenEnabled();
    w.ToEndPage();
    w.FinishAndWaitForExit();
    ASSERT_EQ(w.simulator.AcceptedUploads().size(), 1u);
    EXPECT_EQ(w.simulator.AcceptedUploads()[0], onCable);
}

TEST(WithoutUnit, DemoSessionFromTheErrorPageToFinishTouchesNoPort) {
    PortlessWizard p;
    Wizard& w = p.w;
    ASSERT_TRUE(w.WaitForPage(PageId::Error));
    w.Screenshot("without-unit-error");
    const auto backups = Wizard::Backups();
    Wizard::Click(*w.sheet->page(PageId::Error), IDC_DEMO_UNIT);
    const int opens = p.ports->opens;
    ASSERT_TRUE(w.WaitForPage(PageId::Welcome));
    EXPECT_TRUE(Holds(w.sheet->GetTitle(), "demo unit")) << w.sheet->GetTitle();
    w.Screenshot("demo-welcome");
    // The demo unit plays the remote dial too.
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::Start));
    auto& start = *w.sheet->page<CStartPage>(PageId::Start);
    EXPECT_TRUE(Holds(start.GetDlgItemText(IDC_STATUS_LINE), "COM1 (demo unit)"))
        << start.GetDlgItemText(IDC_STATUS_LINE);
    Wizard::Click(start, IDC_REMOTE);
    Wizard::Type(start, IDC_PHONE, "491709998887");
    Wizard::Type(start, IDC_PASSWORD, "1234");
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::Dialing));
    ASSERT_TRUE(w.WaitForPage(PageId::General, 15000));
    ASSERT_TRUE(WaitForLists(w));
    w.NextWhenEnabled();
    w.ToEndPage();
    EXPECT_EQ(w.sheet->page<CEndPage>(PageId::End)->GetDlgItemText(IDC_END_TITLE),
              "Finish and send to the communicator (demo unit)");
    w.Screenshot("demo-end");
    w.FinishAndWaitForExit();
    EXPECT_EQ(w.sheet->page<CEndPage>(PageId::End)->Verdict()->outcome, fields::Outcome::Verified);
    EXPECT_EQ(p.ports->opens, opens);
    EXPECT_EQ(p.ports->writes, 0);
    EXPECT_EQ(Wizard::Backups(), backups);
}
