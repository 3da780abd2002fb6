// Site files in the wizard: saved from the end page, opened on the connection page and laid
// over another unit's record, refused with the reason; the backups around every upload.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/LangFile.h"
#include "device/Bytes.h"
#include "device/Fields.h"
#include "pages/General.h"
#include "qubset/SiteCommands.h"
#include "qubset/UnitCommands.h"
#include "resources/Resource.h"
#include "site/SiteFile.h"
#include "tests/support/Wizard.h"
#include "transfer/EndPage.h"
#include "ui/Services.h"

using namespace layout;

namespace {

std::filesystem::path BackupFolder() {
    return ui::UserStateDirectory() / "Miltra" / "backups";
}

// The state folder and the backups folder, left open to others by hand.
void OpenBackupFolders() {
    std::filesystem::create_directories(BackupFolder());
    for (const auto& folder : {BackupFolder().parent_path(), BackupFolder()})
        std::filesystem::permissions(folder, std::filesystem::perms(0755));
}

// Unix modes; Windows keeps access in the folder's inherited permissions.
void ExpectMode(const std::filesystem::path& path, std::filesystem::perms mode) {
#ifndef _WIN32
    EXPECT_EQ(std::filesystem::status(path).permissions(), mode) << path;
#else
    (void)path;
    (void)mode;
#endif
}

std::set<std::filesystem::path> Backups() {
    std::set<std::filesystem::path> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(BackupFolder(), ec))
        found.insert(entry.path());
    return found;
}

// Every file dialog answers with `path`.
struct FileDialogAnswer {
    explicit FileDialogAnswer(const std::filesystem::path& path) {
        ui::automation().onFileDialog = [path](const ui::FileDialogOptions& options, bool) {
            EXPECT_EQ(options.filterPattern, "*.qubsite");
            return path;
        };
    }
    ~FileDialogAnswer() { ui::automation().onFileDialog = nullptr; }
};

// From the welcome page to the connection page, where a file is opened, then on to the
// communication page with its lists filled.
void OpenOnConnectionPage(Wizard& w, const std::filesystem::path& file) {
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::Start));
    w.Screenshot("site-file-connection");
    FileDialogAnswer answer(file);
    Wizard::Click(*w.sheet->page(PageId::Start), IDC_OPEN_SITE_FILE);
}

void OnToCommunicationPage(Wizard& w) {
    Wizard::Click(*w.sheet->page(PageId::Start), IDC_LOCAL);
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::General));
    ASSERT_TRUE(Wizard::WaitFor([&] {
        return !Wizard::Rows(*w.sheet->page<CGeneral>(PageId::General), IDC_INSTALLED).empty();
    }));
}

void SaveFromEndPage(Wizard& w, const std::filesystem::path& file) {
    ASSERT_TRUE(w.IsActive(PageId::End));
    w.Screenshot("site-file-end");
    FileDialogAnswer answer(file);
    Wizard::Click(*w.sheet->page<CEndPage>(PageId::End), IDC_SAVE_SITE_FILE);
}

// The texts of the message boxes shown, without their captions.
std::vector<std::string> Said(const Wizard& w) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < w.messages.size(); i += 2) texts.push_back(w.messages[i]);
    return texts;
}

std::string LastSaid(const Wizard& w) {
    const auto texts = Said(w);
    return texts.empty() ? std::string() : texts.back();
}

std::string Value(const DeviceData& d, const char* name) {
    return fields::FieldValue(d, *fields::FindField(name));
}

}  // namespace

TEST(SiteFile, ConfigurationOfOneUnitCopiedToAnotherWithBackupsAroundEachWrite) {
    TempDir files;
    const auto siteFile = files.path() / "shop.qubsite";
    sim::Unit unitA;
    {
        Wizard a;
        a.Start();
        a.ToCommunicationPage();
        Wizard::Click(*a.sheet->page<CGeneral>(PageId::General), IDC_AND);
        a.NextWhenEnabled();
        for (int i = 0; i < kPageCount && !a.IsActive(PageId::End); ++i) {
            if (a.IsActive(PageId::Ip)) Wizard::Type(*a.Active(), IDC_APN, "site.apn");
            a.NextWhenEnabled();
        }
        auto& end = *a.sheet->page<CEndPage>(PageId::End);
        Wizard::Type(end, IDC_END_TEXT1, "Depot 3");
        Wizard::Type(end, IDC_CUSD, "1234");
        SaveFromEndPage(a, siteFile);
        EXPECT_EQ(LastSaid(a), "The site file was saved: " + siteFile.string());
        const auto before = Backups();
        OpenBackupFolders();
        a.FinishAndWaitForExit();
        unitA = a.simulator.Local();
        for (const auto& folder : {BackupFolder().parent_path(), BackupFolder()})
            ExpectMode(folder, std::filesystem::perms::owner_all);

        // One backup as read before the upload, one as written after it.
        std::vector<std::filesystem::path> made;
        for (const auto& path : Backups())
            if (!before.count(path)) made.push_back(path);
        ASSERT_EQ(made.size(), 2u);
        for (const auto& path : made)
            ExpectMode(path,
                       std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        std::sort(made.begin(), made.end(), [](const auto& x, const auto& y) {
            return x.string().ends_with("-after.qubsite") < y.string().ends_with("-after.qubsite");
        });
        const CommandOutput diff = DiffSiteFiles(made[0].string(), made[1].string(), false);
        EXPECT_EQ(diff.status, kDiffersStatus);
        EXPECT_EQ(diff.out,
                  "communication.and: \"1\" -> \"0\"\n"
                  "gprs.access_point: \"internet.qubnet\" -> \"site.apn\"\n"
                  "end.cusd: \"100\" -> \"1234\"\n"
                  "end.text.1: \"Shop 12, Market Street\" -> \"Depot 3\"\n");
    }

    // Unit B: other texts, numbers and codes. The file's values replace its own, except the
    // passwords the file does not carry.
    // It speaks German so far: the language of the session replaces that.
    sim::Unit unitB = sim::DefaultRemoteUnit();
    unitB.record.setLanguageCode(0x0407);
    sim::StoreSettings(unitB);
    Wizard b;
    b.simulator.SetLocal(unitB);
    b.Start();
    OpenOnConnectionPage(b, siteFile);
    OnToCommunicationPage(b);
    ASSERT_TRUE(Wizard::WaitFor([&] { return !b.messages.empty(); }));
    EXPECT_EQ(LastSaid(b), "Fields applied from the site file: 79");
    b.NextWhenEnabled();
    b.ToEndPage();
    EXPECT_EQ(b.sheet->page<CEndPage>(PageId::End)->GetDlgItemText(IDC_END_TEXT1), "Depot 3");
    b.FinishAndWaitForExit();
    const DeviceData& written = b.simulator.Local().record;
    for (const fields::Field& f : fields::NamedFields()) {
        if (!fields::InRecord(f)) continue;
        SCOPED_TRACE(f.name);
        const DeviceData& from = f.secret ? unitB.record : unitA.record;
        EXPECT_EQ(fields::FieldValue(written, f), fields::FieldValue(from, f));
    }
    EXPECT_EQ(Value(written, "supervisor.user_code"), "7777");
    EXPECT_EQ(written.idText(), unitB.record.idText());

    // The same file written to the same unit without the wizard: the same bytes go out.
    b.sheet.reset();  // the wizard lets the port go
    b.simulator.SetLocal(unitB);
    const std::string file = siteFile.string();
    const char* const argv[] = {"qubset", "--write", "--clone", "--", file.c_str()};
    const auto line = b.Cable();
    const CommandOutput command = RunUnitCommand(ParseCommandLine(5, argv), *line,
                                                 {{}, {}, b.dir.path() / "English.ini", nullptr});
    EXPECT_EQ(command.status, kDoneStatus) << command.err;
    const auto uploads = b.simulator.AcceptedUploads();
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_EQ(uploads[1], uploads[0]);
}

TEST(SiteFile, RefusedWithTheReasonAndSavedAgainUnchanged) {
    TempDir files;
    sim::Unit unit = sim::DefaultUnit();
    // Saved with the unit's event names, as the end page saves them once it has read them.
    site::SiteFile savedFile = site::FromRecord(unit.record, false, "2026-05-01T08:30:00Z");
    site::KeepEventNames(savedFile, sim::DefaultEventNames());
    const std::string saved = site::Serialize(savedFile);
    auto variant = [&](const char* name, const std::string& from, const std::string& to) {
        std::string text = saved;
        if (!from.empty()) text.replace(text.find(from), from.size(), to);
        WriteBytes(files.path() / name, text);
        return files.path() / name;
    };
    const auto good = variant("good.qubsite", "", "");
    const auto cut = files.path() / "cut.qubsite";
    WriteBytes(cut, saved.substr(0, saved.size() / 2));
    const auto tooLong = variant("long.qubsite", "\"dtmf.number.1\": \"0301234567\"",
                                 "\"dtmf.number.1\": \"03012345678901234\"");
    // Saved from a unit of record version 40; an edited record version would be damage.
    sim::Unit unit40 = unit;
    unit40.record.identReply[kIdentVersionByte] = 40;
    const auto version40 = files.path() / "v40.qubsite";
    WriteBytes(version40,
               site::Serialize(site::FromRecord(unit40.record, false, "2026-05-01T08:30:00Z")));

    Wizard w;
    w.simulator.SetLocal(unit);
    w.Start();
    OpenOnConnectionPage(w, cut);
    EXPECT_EQ(LastSaid(w),
              "The site file is refused: it is not valid JSON (damaged or cut short).");

    const struct {
        std::filesystem::path file;
        std::vector<std::string> says;
    } cases[] = {
        {tooLong,
         {"The site file was changed after it was saved, first at dtmf.number.1. Its values are "
          "used as they stand.",
          "The site file is refused: the value of dtmf.number.1 does not fit its place."}},
        {version40,
         {"The site file is refused: it is for record version 40, this unit has record "
          "version 41."}},
        {good, {"Fields applied from the site file: 79"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.string());
        w.messages.clear();
        FileDialogAnswer answer(c.file);
        Wizard::Click(*w.sheet->page(PageId::Start), IDC_OPEN_SITE_FILE);
        OnToCommunicationPage(w);
        ASSERT_TRUE(Wizard::WaitFor([&] { return Said(w).size() == c.says.size(); }));
        EXPECT_EQ(Said(w), c.says);
        if (&c != &cases[2]) {
            EXPECT_EQ(Value(w.data, "dtmf.number.1"), "0301234567");  // nothing of it applied
            w.Back();
            ASSERT_TRUE(w.WaitForPage(PageId::Start));
        }
    }
    // Opened and saved again with nothing changed: the same file, byte for byte.
    w.NextWhenEnabled();
    w.ToEndPage();
    const auto again = files.path() / "again.qubsite";
    SaveFromEndPage(w, again);
    EXPECT_EQ(ReadBytes(again), saved);
}
