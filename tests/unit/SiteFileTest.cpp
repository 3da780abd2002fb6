// Site files and backups: the hash, the file's round trip, what a file may and may not do to
// a unit's record, and the bound on backups.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "device/DeviceData.h"
#include "device/Fields.h"
#include "site/Backup.h"
#include "site/Sha256.h"
#include "site/SiteFile.h"
#include "tests/support/TempDir.h"
#include "ui/CodePage.h"

using namespace layout;

namespace {

constexpr const char* kSaved = "2026-05-01T08:30:00Z";

void PutInfoText(DeviceData& d, SlotInfo where, const char* text) {
    std::memcpy(&d.infoBlock[where.offset], text, std::min(std::strlen(text), where.size));
}

std::unique_ptr<DeviceData> Unit(std::uint8_t version, const char* id) {
    auto d = std::make_unique<DeviceData>();
    d->identReply[kIdentVersionByte] = version;
    PutInfoText(*d, kInfoModelText, "QBR-200");
    PutInfoText(*d, kInfoIdText, id);
    PutInfoText(*d, kInfoFirmwareText, "4.1");
    d->setReportFlags(kFlagDtmfInstalled | kFlagDtmfSupported | kFlagAnd);
    d->setSlotText(kSlotApnLogin, "internet,ann:pw");
    d->setSlotText(kSlotDtmfNumber0, "0301234");
    d->setSlotText(kSlotSupervisorCode0, "4711");
    d->setSlotText(kSlotEndPageText1, "Caf\xE9 \x80");  // Windows-1252: é and the euro sign
    d->setCusdValue(123);
    return d;
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    Replace(text, from, to);
    return text;
}

// As many values of unknown names as the table has fields.
std::string ManyValues() {
    std::string values;
    for (std::size_t i = 0; i < fields::NamedFields().size(); ++i)
        values += "\"extra." + std::to_string(i) + "\": \"\", ";
    return values;
}

site::Opened Open(const std::string& text) {
    site::Opened opened;
    std::string error;
    EXPECT_TRUE(site::ParseSiteFile(text, &opened, &error)) << error;
    return opened;
}

}  // namespace

TEST(Sha256, StandardVectors) {
    const struct {
        std::string message;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnop"
         "qrlmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) EXPECT_EQ(site::Sha256Hex(c.message), c.digest);
}

TEST(SiteFile, RoundTripIsByteForByteAndSecretsOnlyWhenAsked) {
    const auto unit = Unit(41, "IMEI-1");
    const std::string withSecrets = site::Serialize(site::FromRecord(*unit, true, kSaved));
    const site::Opened opened = Open(withSecrets);
    EXPECT_EQ(opened.soundness, site::Soundness::Sound) << opened.problem;
    EXPECT_EQ(site::Serialize(opened.file), withSecrets);  // save, open, save
    EXPECT_EQ(*site::ValueOf(opened.file, "end.text.1"), "Caf\u00e9 \u20ac");
    EXPECT_EQ(*site::ValueOf(opened.file, "supervisor.code.1"), "4711");
    EXPECT_EQ(*site::ValueOf(opened.file, "gprs.password"), "pw");
    EXPECT_EQ(opened.file.unit.id, "IMEI-1");
    EXPECT_EQ(opened.file.unit.recordVersion, 41);
    EXPECT_TRUE(opened.file.eventNames.empty());

    // The unit's event names travel too, in the code page's letters, and come back whole.
    EventNames names;
    names[1] = "Fire alarm";
    names[151] = "Caf\xE9";
    site::SiteFile named = site::FromRecord(*unit, false, kSaved);
    site::KeepEventNames(named, names);
    const std::string namedText = site::Serialize(named);
    const site::Opened namedOpened = Open(namedText);
    EXPECT_EQ(namedOpened.soundness, site::Soundness::Sound) << namedOpened.problem;
    EXPECT_EQ(site::Serialize(namedOpened.file), namedText);
    EventNames back;
    ASSERT_TRUE(site::EventNamesOfFile(namedOpened.file, &back));
    EXPECT_EQ(back, names);
    EXPECT_EQ(namedOpened.file.eventNames[151], "Caf\u00e9");

    const site::SiteFile without = site::FromRecord(*unit, false, kSaved);
    for (const auto& [name, value] : without.values) {
        const fields::Field* f = fields::FindField(name);
        ASSERT_NE(f, nullptr);
        EXPECT_FALSE(f->secret) << name;
    }
    EXPECT_EQ(site::ValueOf(without, "sim.pin"), nullptr);
    EXPECT_FALSE(site::EventNamesOfFile(without, &back));
    // A unit before version 41 has no end-page texts to save.
    EXPECT_EQ(site::ValueOf(site::FromRecord(*Unit(40, "x"), true, kSaved), "end.text.1"), nullptr);

    // Under Windows-1250 the same kind of bytes are Polish letters, and they come back as they
    // were.
    const unsigned before = ui::ActiveCodePage();
    ASSERT_TRUE(ui::SelectCodePage(1250));
    const std::string polish =
        "\xA3\xF3"
        "d\x9F";
    unit->setSlotText(kSlotEndPageText1, polish);
    const site::Opened opened1250 = Open(site::Serialize(site::FromRecord(*unit, false, kSaved)));
    EXPECT_EQ(*site::ValueOf(opened1250.file, "end.text.1"), "\u0141\u00f3d\u017a");
    unit->setSlotText(kSlotEndPageText1, "");
    EXPECT_EQ(site::ApplyToRecord(*unit, opened1250.file).refusal,
              site::ApplyReport::Refusal::None);
    EXPECT_EQ(unit->slotText(kSlotEndPageText1), polish);

    // Under Windows-1253 0xD2 is no character: a unit's text holding it comes back as it was,
    // while a file's 'Ò', which Greek lacks, is refused rather than sent as that byte.
    ASSERT_TRUE(ui::SelectCodePage(1253));
    const std::string greek = "\xD2\xF9";
    unit->setSlotText(kSlotEndPageText1, greek);
    const std::string saved1253 = site::Serialize(site::FromRecord(*unit, false, kSaved));
    unit->setSlotText(kSlotEndPageText1, "");
    EXPECT_EQ(site::ApplyToRecord(*unit, Open(saved1253).file).refusal,
              site::ApplyReport::Refusal::None);
    EXPECT_EQ(unit->slotText(kSlotEndPageText1), greek);
    std::string latin1 = saved1253;
    Replace(latin1, "\uF7D2\u03C9", "\u00D2\u03C9");
    EXPECT_EQ(site::ApplyToRecord(*unit, Open(latin1).file).refusal,
              site::ApplyReport::Refusal::NotInCodePage);
    ui::SelectCodePage(before);
}

TEST(SiteFile, AppliedWholeOrRefusedWithTheReason) {
    const auto source = Unit(41, "IMEI-A");
    const std::string saved = site::Serialize(site::FromRecord(*source, false, kSaved));
    const struct {
        const char* what;
        std::string from, to;
        const char* describes;
        const char* login = "internet,ann:own";
    } cases[] = {
        {"as saved", "", "", "applied 79 fields"},
        {"unknown and unit fields skipped", "\"values\": {",
         "\"values\": {\n    \"sim.pin\": \"1234\",\n    \"dtmf.volume\": \"3\",",
         "applied 79 fields; skipped: sim.pin dtmf.volume"},
        {"too long", "\"dtmf.number.1\": \"0301234\"", "\"dtmf.number.1\": \"0301234567890123\"",
         "refused: the value of dtmf.number.1 does not fit its place"},
        {"malformed", "\"end.cusd\": \"123\"", "\"end.cusd\": \"12x\"",
         "refused: the value of end.cusd cannot be written"},
        {"outside the code page", "\"dtmf.number.1\": \"0301234\"",
         "\"dtmf.number.1\": \"03\\u0141\"",
         "refused: the value of dtmf.number.1 holds a character the unit cannot store"},
        {"other record version", "\"record_version\": 41", "\"record_version\": 40",
         "refused: the file is for record version 40, the unit has record version 41"},
        // From a unit whose login has no user: the unit's password cannot stay behind none.
        {"no user", "\"gprs.user\": \"ann\"", "\"gprs.user\": \"\"", "applied 79 fields",
         "internet"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = saved;
        if (!c.from.empty()) Replace(text, c.from, c.to);
        const site::Opened opened = Open(text);
        auto target = Unit(41, "IMEI-B");
        target->setSlotText(kSlotDtmfNumber0, "999");
        target->setSlotText(kSlotSupervisorCode0, "own");
        target->setSlotText(kSlotApnLogin, "web,bob:own");
        target->setCusdValue(55);
        target->setReportFlags(kFlagIpInstalled);
        const auto before = std::make_unique<DeviceData>(*target);
        const site::ApplyReport report = site::ApplyToRecord(*target, opened.file);
        EXPECT_EQ(site::Describe(report), c.describes);
        if (report.refusal != site::ApplyReport::Refusal::None) {
            EXPECT_EQ(target->settingsBlock, before->settingsBlock);
            EXPECT_EQ(target->stringTable, before->stringTable);
            continue;
        }
        EXPECT_EQ(target->slotText(kSlotDtmfNumber0), "0301234");
        EXPECT_EQ(target->cusdValue(), 123);
        EXPECT_EQ(target->reportFlags(), kFlagDtmfInstalled | kFlagAnd);  // "supported" is its own
        EXPECT_EQ(target->slotText(kSlotEndPageText1), "Caf\xE9 \x80");
        // No passwords in the file: the unit keeps its own where the file leaves it room.
        EXPECT_EQ(target->slotText(kSlotSupervisorCode0), "own");
        EXPECT_EQ(target->slotText(kSlotApnLogin), c.login);
        EXPECT_EQ(target->idText(), "IMEI-B");
        EXPECT_EQ(target->newSimPinText(), "");
    }
}

TEST(SiteFile, HandEditsNamedDamageAndUnreadableFilesRefused) {
    const std::string saved = site::Serialize(site::FromRecord(*Unit(41, "A"), true, kSaved));
    EventNames names;
    names[1] = "Fire alarm";
    site::SiteFile namedFile = site::FromRecord(*Unit(41, "A"), true, kSaved);
    site::KeepEventNames(namedFile, names);
    const std::string named = site::Serialize(namedFile);
    std::string edited = saved;
    Replace(edited, "\"dtmf.number.1\": \"0301234\"", "\"dtmf.number.1\": \"0301235\"");
    site::Opened opened = Open(edited);
    EXPECT_EQ(opened.soundness, site::Soundness::Edited);
    EXPECT_EQ(opened.problem, "dtmf.number.1");

    // Keys sorted at every level and laid out anew, as a formatter leaves it: the same file.
    const std::string sorted = nlohmann::json::parse(saved).dump(4) + "\n";
    ASSERT_LT(sorted.find("\"check\""), sorted.find("\"format\""));
    const struct {
        const char* what;
        std::string text;
        site::Soundness soundness;
    } checked[] = {
        {"keys sorted", sorted, site::Soundness::Sound},
        {"hash touched", Replaced(saved, "\"sha256\": \"", "\"sha256\": \"0"),
         site::Soundness::Damaged},
        {"unit id", Replaced(saved, "\"id\": \"A\"", "\"id\": \"B\""), site::Soundness::Damaged},
        {"time saved", Replaced(saved, kSaved, "2026-05-01T08:30:01Z"), site::Soundness::Damaged},
        {"record version", Replaced(saved, "\"record_version\": 41", "\"record_version\": 40"),
         site::Soundness::Damaged},
        {"event name", Replaced(named, "\"Fire alarm\"", "\"Fire drill\""),
         site::Soundness::Damaged},
        {"event names added",
         Replaced(saved, ",\n  \"check\"",
                  ",\n  \"event_names\": " +
                      nlohmann::json(std::vector<std::string>(kEventCount, "x")).dump() +
                      ",\n  \"check\""),
         site::Soundness::Damaged},
    };
    for (const auto& c : checked) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Open(c.text).soundness, c.soundness);
    }

    const struct {
        std::string text;
        const char* error;
    } unreadable[] = {
        {saved.substr(0, saved.size() / 2), "it is not valid JSON (damaged or cut short)"},
        {"{\"format\": \"something else\"}", "it is not a Qubset site file"},
        {"[1, 2]", "it is not a Qubset site file"},
        {std::string(site::kMaxFileBytes + 1, ' '), "it is larger than a site file can be"},
        {Replaced(saved, "\"end.cusd\": \"123\"", "\"end.cusd\": \"123\", \"end.cusd\": \"9\""),
         "it names end.cusd twice"},
        {Replaced(saved, "\"end.cusd\": \"123\"", "\"end\\u0000cusd\": \"123\""),
         "a field name holds a NUL character"},
        {Replaced(saved, "\"end.cusd\": \"123\"", "\"end.cusd\": \"1\\u000023\""),
         "the value of end.cusd holds a NUL character"},
        {Replaced(saved, "\"values\": {", "\"values\": {" + ManyValues()),
         "it holds more values than there are fields"},
        {Replaced(named, "\"event_names\": [", "\"event_names\": [\"one too many\", "),
         "its event names are not one for each event"},
        {Replaced(named, "\"Fire alarm\"", "7"), "an event name is not a text"},
    };
    for (const auto& c : unreadable) {
        std::string error;
        EXPECT_FALSE(site::ParseSiteFile(c.text, &opened, &error));
        EXPECT_EQ(error, c.error);
    }
    std::string numberValue = saved;
    Replace(numberValue, "\"end.cusd\": \"123\"", "\"end.cusd\": 123");
    std::string error;
    EXPECT_FALSE(site::ParseSiteFile(numberValue, &opened, &error));
    EXPECT_EQ(error, "the value of end.cusd is not a text");
}

// Saved in place of no other name: a link at the name an earlier version wrote through, a link
// to nowhere and a file of the user's all stay as they were; a file written over keeps its
// mode, one with passwords is the user's alone; a failed write leaves the old file and no
// other.
TEST(SiteFile, SavedWithoutWritingThroughAnotherName) {
    TempDir dir;
    const mode_t umaskBefore = umask(022);
    const auto at = [&](const char* name) { return dir.path() / name; };
    const site::SiteFile file = site::FromRecord(*Unit(41, "IMEI7"), false, kSaved);
    ASSERT_TRUE(WriteBytes(at("victim.txt"), "victim"));
    ASSERT_TRUE(WriteBytes(at("shop.qubsite"), "old"));
    ASSERT_EQ(chmod(at("shop.qubsite").c_str(), 0600), 0);
    std::filesystem::create_symlink(at("victim.txt"), at("shop.qubsite.new"));
    std::filesystem::create_symlink(at("nowhere"), at("report.html.new"));
    ASSERT_TRUE(WriteBytes(at("notes.txt.new"), "the user's own"));
    ASSERT_TRUE(WriteBytes(at("secret.qubsite"), "old"));
    ASSERT_EQ(chmod(at("secret.qubsite").c_str(), 0644), 0);

    EXPECT_EQ(site::WriteSiteFile(at("shop.qubsite"), file, FileAccess::Shared), FileResult::Done);
    EXPECT_EQ(WriteWholeFile(at("report.html"), "report"), FileResult::Done);
    EXPECT_EQ(WriteWholeFile(at("notes.txt"), "notes"), FileResult::Done);
    EXPECT_EQ(site::WriteSiteFile(at("secret.qubsite"), file, FileAccess::Private),
              FileResult::Done);
    EXPECT_EQ(site::WriteSiteFile(at("new-secret.qubsite"), file, FileAccess::Private),
              FileResult::Done);
    umask(umaskBefore);

    EXPECT_EQ(ReadBytes(at("victim.txt")), "victim");
    EXPECT_EQ(std::filesystem::read_symlink(at("shop.qubsite.new")), at("victim.txt"));
    EXPECT_FALSE(std::filesystem::exists(at("nowhere")));
    EXPECT_EQ(std::filesystem::read_symlink(at("report.html.new")), at("nowhere"));
    EXPECT_EQ(ReadBytes(at("notes.txt.new")), "the user's own");
    EXPECT_EQ(ReadBytes(at("shop.qubsite")), site::Serialize(file));
    EXPECT_EQ(ReadBytes(at("report.html")), "report");
    const struct {
        const char* name;
        mode_t mode;
    } modes[] = {{"shop.qubsite", 0600},
                 {"report.html", 0644},
                 {"secret.qubsite", 0600},
                 {"new-secret.qubsite", 0600}};
    for (const auto& m : modes) {
        struct stat st {};
        ASSERT_EQ(lstat(at(m.name).c_str(), &st), 0) << m.name;
        EXPECT_TRUE(S_ISREG(st.st_mode)) << m.name;
        EXPECT_EQ(st.st_mode & 0777, m.mode) << m.name;
    }

    // A write the disk refuses (a file size limit, as a full disk would).
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        if (setrlimit(RLIMIT_FSIZE, &limit)) _exit(3);
        _exit(WriteWholeFile(at("notes.txt"), std::string(5000, 'x')) == FileResult::CannotWrite
                  ? 0
                  : 4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadBytes(at("notes.txt")), "notes");
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names,
              (std::set<std::string>{"victim.txt", "shop.qubsite", "shop.qubsite.new",
                                     "report.html", "report.html.new", "notes.txt", "notes.txt.new",
                                     "secret.qubsite", "new-secret.qubsite"}));
}

// Only our own backups count, by the times in their names: a file of the user's and a folder
// with the extension stay, and the newest backups outlast names that claim a later time.
TEST(Backup, NeverOverAnEarlierOneAndTheNewestKept) {
    for (const char* day : {"20000101", "20990101"}) {
        SCOPED_TRACE(day);
        TempDir dir;
        const auto stored = [&](std::size_t i) {
            const std::string n = std::to_string(1000000 + i).substr(1);
            return dir.path() / (day + n + "-OLD7-after.qubsite");
        };
        for (std::size_t i = 0; i < site::kBackupsKept; ++i)
            ASSERT_TRUE(WriteBytes(stored(i), "old"));
        ASSERT_TRUE(WriteBytes(dir.path() / "notes.txt", "kept"));
        ASSERT_TRUE(WriteBytes(dir.path() / "garage-handmade.qubsite", "the user's"));
        std::filesystem::create_directory(dir.path() / "x.qubsite");
        const site::SiteFile file = site::FromRecord(*Unit(41, "IMEI/7"), true, kSaved);
        std::filesystem::path first, second;
        ASSERT_EQ(site::WriteBackup(dir.path(), file, "before", &first), FileResult::Done);
        ASSERT_EQ(site::WriteBackup(dir.path(), file, "before", &second), FileResult::Done);
        EXPECT_EQ(first.filename(), "20260501083000-IMEI7-before.qubsite");
        EXPECT_EQ(second.filename(), "20260501083000-IMEI7-before-2.qubsite");
        const std::regex ours(R"(\d{14}-[A-Za-z0-9]{1,32}-[a-z]+(-\d{1,3})?\.qubsite)");
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            count += std::regex_match(entry.path().filename().string(), ours);
        EXPECT_EQ(count, site::kBackupsKept);
        for (const auto& path : {first, second}) {
            struct stat st {};
            ASSERT_EQ(stat(path.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0600u);
        }
        EXPECT_FALSE(std::filesystem::exists(stored(0)));
        EXPECT_FALSE(std::filesystem::exists(stored(1)));
        EXPECT_TRUE(std::filesystem::exists(stored(2)));
        EXPECT_EQ(ReadBytes(dir.path() / "garage-handmade.qubsite"), "the user's");
        EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "x.qubsite"));
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "notes.txt"));
        site::Opened opened;
        std::string error;
        ASSERT_TRUE(site::ReadSiteFile(second, &opened, &error)) << error;
        EXPECT_EQ(site::Serialize(opened.file), site::Serialize(file));
    }
}
