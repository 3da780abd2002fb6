// --read, --write and --set against the simulator: the verdicts and statuses a script sees,
// what is refused before anything is sent, and the after-backup holding what the unit holds.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/Profile.h"
#include "device/Fields.h"
#include "device/Layout.h"
#include "qubset/UnitCommands.h"
#include "sim/Faults.h"
#include "site/Backup.h"
#include "site/SiteFile.h"
#include "tests/support/Wizard.h"

namespace {

// A command line as a shell would split it.
CommandLine Parsed(const std::vector<std::string>& words) {
    std::vector<const char*> argv{"qubset"};
    for (const std::string& word : words) argv.push_back(word.c_str());
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

struct Ran {
    CommandOutput output;
    nlohmann::json json;
    std::vector<std::string> steps;
};

Ran RunOn(Wizard& w, const std::vector<std::string>& words) {
    Ran run;
    const CommandLine command = Parsed(words);
    EXPECT_NE(command.action, CommandLine::Action::Refuse) << command.error;
    const auto line = w.Cable();
    UnitEnvironment env{[&](std::string_view step, int) { run.steps.emplace_back(step); },
                        BackupFolder(), w.dir.path() / "English.ini", nullptr};
    env.unitWait = std::chrono::seconds(2);  // a bench's wait for a unit that never comes
    run.output = RunUnitCommand(command, *line, env);
    run.json = nlohmann::json::parse(run.output.out, nullptr, false);
    return run;
}

std::string Value(const DeviceData& d, const char* name) {
    return fields::FieldValue(d, *fields::FindField(name));
}

// A site file of `unit` with the access point changed, as the unit's own saved file.
site::SiteFile FileOf(const sim::Unit& unit, const std::string& accessPoint) {
    site::SiteFile file = site::FromRecord(unit.record, false, "2026-06-01T08:00:00Z");
    for (auto& [name, value] : file.values)
        if (name == "gprs.access_point") value = accessPoint;
    return file;
}

// A ledger line's cells (none of them quoted here).
std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells(1);
    for (const char c : line) {
        if (c == ',')
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

}  // namespace

TEST(UnitCommands, WriteVerifiesSetRefusesAndAnotherUnitsFileNeedsClone) {
    TempDir files;
    const sim::Unit unit = sim::DefaultUnit();
    const std::string own = files.File("own.qubsite");
    const std::string other = files.File("other.qubsite");
    ASSERT_EQ(site::WriteSiteFile(own, FileOf(unit, "own.apn"), FileAccess::Shared),
              FileResult::Done);
    ASSERT_EQ(site::WriteSiteFile(other, FileOf(sim::DefaultRemoteUnit(), "other.apn"),
                                  FileAccess::Shared),
              FileResult::Done);
    const std::string tooLong(200, 'a');
    const struct {
        std::vector<std::string> words;
        std::string simulated;  // a fault of the unit, or a field it does not keep
        int status;
        std::string result;
        int uploads;            // images the unit accepted
        std::string apnHeld;    // the unit's access point afterwards
        std::string differing;  // the field JSON names as differing
    } cases[] = {
        {{"--write", own, "--json"}, "", kDoneStatus, "verified", 1, "own.apn", ""},
        {{"--write", own, "--json"},
         "gprs.access_point",
         kWrittenDiffersStatus,
         "differs",
         1,
         "internet.qubnet",
         "gprs.access_point"},
        {{"--write", own, "--json", "--no-verify"},
         "",
         kNotVerifiedStatus,
         "not verified",
         1,
         "own.apn",
         ""},
        {{"--write", own, "--dry-run", "--json"},
         "",
         kDoneStatus,
         "dry run",
         0,
         "internet.qubnet",
         ""},
        {{"--write", other, "--json"},
         "",
         kOtherUnitStatus,
         "other unit",
         0,
         "internet.qubnet",
         ""},
        {{"--write", other, "--clone", "--json"}, "", kDoneStatus, "verified", 1, "other.apn", ""},
        {{"--set", "gprs.access_point=set.apn", "--json"},
         "",
         kDoneStatus,
         "verified",
         1,
         "set.apn",
         ""},
        {{"--set", "end.text.1=" + tooLong, "end.cusd=7", "--json"},
         "",
         kUsageStatus,
         "refused",
         0,
         "internet.qubnet",
         ""},
        // An older unit has no end-page texts to set.
        {{"--set", "end.text.1=Depot", "--json"},
         "version-40",
         kUsageStatus,
         "refused",
         0,
         "internet.qubnet",
         ""},
        {{"--set", "gprs.no_such=1", "--json"},
         "",
         kUsageStatus,
         "refused",
         0,
         "internet.qubnet",
         ""},
        {{"--read", files.File("read.qubsite"), "--json", "--port", "COM4"},
         "",
         kNoUnitStatus,
         "no unit",
         0,
         "internet.qubnet",
         ""},
        {{"--read", files.File("read.qubsite"), "--json", "--port", "COM3"},
         "",
         kDoneStatus,
         "saved",
         0,
         "internet.qubnet",
         ""},
        {{"--read", files.File("remote.qubsite"), "--json", "--dial", "0301234", "--password",
          "1234"},
         "",
         kDoneStatus,
         "saved",
         0,
         "internet.qubnet",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words[0] + " " + c.words[1] + " " + c.simulated);
        const bool remote = c.words[1].ends_with("remote.qubsite");
        WizardOptions options;
        options.simulator.dialDelay = std::chrono::milliseconds(200);
        Wizard w(options);
        if (const auto fault = sim::ParseFault(c.simulated))
            w.simulator.AddFault(*fault);
        else if (!c.simulated.empty())
            w.simulator.AddUnkept(*sim::ParseUnkept(c.simulated));
        const auto before = Wizard::Backups();
        const Ran run = RunOn(w, c.words);
        ASSERT_TRUE(run.json.is_object()) << run.output.out << run.output.err;
        EXPECT_EQ(run.output.status, c.status) << run.output.err;
        EXPECT_EQ(run.json["status"], c.status);
        EXPECT_EQ(run.json["result"], c.result);
        EXPECT_EQ(w.simulator.AcceptedUploads().size(), static_cast<std::size_t>(c.uploads));
        EXPECT_EQ(Value(w.simulator.Local().record, "gprs.access_point"), c.apnHeld);
        if (c.result == "refused") {
            // Named, and nothing sent.
            EXPECT_NE(run.output.err.find(c.words[1].substr(0, c.words[1].find('='))),
                      std::string::npos)
                << run.output.err;
            EXPECT_EQ(w.simulator.RequestCount(command::kWriteConfiguration), 0u);
        }
        if (c.status == kNoUnitStatus || c.words[1] == "gprs.no_such=1") continue;
        const DeviceData& identified = remote ? w.simulator.Remote().record : unit.record;
        EXPECT_EQ(run.json["unit"]["id"], identified.idText());
        EXPECT_EQ(run.json["unit"]["record_version"],
                  c.simulated == "version-40" ? 40 : identified.versionByte());
        if (c.result == "saved") {
            site::Opened saved;
            std::string error;
            ASSERT_TRUE(site::ReadSiteFile(c.words[1], &saved, &error)) << error;
            EXPECT_EQ(saved.file.unit.id, identified.idText());
            EXPECT_EQ(*site::ValueOf(saved.file, "gprs.access_point"),
                      Value(identified, "gprs.access_point"));
        }
        if (!c.differing.empty()) {
            ASSERT_EQ(run.json["differences"].size(), 1u) << run.output.out;
            EXPECT_EQ(run.json["differences"][0]["field"], c.differing);
            EXPECT_EQ(run.json["differences"][0]["written"], "own.apn");
            EXPECT_EQ(run.json["differences"][0]["read"], "internet.qubnet");
            // The after-backup holds what the unit holds, and says so.
            const site::SiteFile after = Wizard::AfterBackup(before);
            ASSERT_NE(site::ValueOf(after, "gprs.access_point"), nullptr);
            EXPECT_EQ(*site::ValueOf(after, "gprs.access_point"), "internet.qubnet");
            EXPECT_EQ(after.source, site::kReadBackSource);
        }
        if (c.result == "dry run") {
            ASSERT_EQ(run.json["changes"].size(), 1u) << run.output.out;
            EXPECT_EQ(run.json["changes"][0]["field"], "gprs.access_point");
            EXPECT_EQ(run.json["changes"][0]["before"], "internet.qubnet");
            EXPECT_EQ(run.json["changes"][0]["after"], "own.apn");
        }
    }
}

TEST(UnitCommands, BenchOfThreeUnitsEachWithItsRowAndATableThatDoesNotFitTouchesNone) {
    TempDir files;
    const std::string templateFile = files.File("stock.qubsite");
    ASSERT_EQ(site::WriteSiteFile(templateFile, FileOf(sim::DefaultUnit(), "stock.apn"),
                                  FileAccess::Shared),
              FileResult::Done);
    WriteBytes(files.path() / "rows.csv",
               "end.text.1,end.cusd\r\n\"Shop 1, Market\",11\r\nShop 2,22\r\nShop 3,33\r\n");
    WriteBytes(files.path() / "long.csv",
               "end.text.1,end.cusd\nShop 1,11\n" + std::string(80, 'x') + ",22\n");
    const std::string ledger = files.File("ledger.csv");
    WizardOptions options;
    options.simulator.bench = {sim::BenchUnit(1), sim::BenchUnit(2)};
    Wizard w(options);

    // A value too long in the second row: refused before any unit is asked anything.
    Ran run = RunOn(w, {"--each", "--write", templateFile, "--clone", "--values",
                        files.File("long.csv"), "--json"});
    EXPECT_EQ(run.output.status, kUsageStatus);
    EXPECT_NE(run.output.err.find("row 2: refused: the value of end.text.1 does not fit"),
              std::string::npos)
        << run.output.err;
    EXPECT_TRUE(w.simulator.Requests().empty());

    // Three units, one after another: each its row, each verified in the ledger.
    run = RunOn(w, {"--each", "--write", templateFile, "--clone", "--values",
                    files.File("rows.csv"), "--ledger", ledger, "--json"});
    EXPECT_EQ(run.output.status, kDoneStatus) << run.output.err;
    ASSERT_TRUE(run.json.is_object()) << run.output.out;
    EXPECT_EQ(run.json["result"], "verified");
    EXPECT_EQ(run.json["units"].size(), 3u);
    EXPECT_EQ(w.simulator.AcceptedUploads().size(), 3u);
    const std::vector<std::string> ids = {sim::DefaultUnit().record.idText(),
                                          sim::BenchUnit(1).record.idText(),
                                          sim::BenchUnit(2).record.idText()};
    const std::string written = ReadBytes(ledger);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = written.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(written.substr(at, end - at));
    ASSERT_EQ(lines.size(), 4u) << written;
    EXPECT_EQ(lines[0], "time,unit id,model,firmware,file sha256,row,verdict");
    for (std::size_t i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(ids[i]);
        const std::vector<std::string> cells = Cells(lines[i + 1]);
        ASSERT_EQ(cells.size(), 7u) << lines[i + 1];
        EXPECT_EQ(cells[1], ids[i]);
        EXPECT_EQ(cells[2], "Qubrin QX-7 quad-band GSM/GPRS");
        EXPECT_EQ(cells[5], std::to_string(i + 1));
        EXPECT_EQ(cells[6], "verified");
    }
    // The last unit holds its own row, the template's access point around it.
    const DeviceData& last = w.simulator.Local().record;
    EXPECT_EQ(last.idText(), ids[2]);
    EXPECT_EQ(Value(last, "end.text.1"), "Shop 3");
    EXPECT_EQ(Value(last, "end.cusd"), "33");
    EXPECT_EQ(Value(last, "gprs.access_point"), "stock.apn");

    // The ledger has the unit on the cable as verified: it is skipped, nothing is written.
    run = RunOn(w, {"--each", "--write", templateFile, "--clone", "--ledger", ledger});
    EXPECT_EQ(run.output.status, kNoUnitStatus);
    EXPECT_NE(run.output.err.find("unit " + ids[2] + " is in the ledger as verified: skipped"),
              std::string::npos)
        << run.output.err;
    EXPECT_EQ(w.simulator.AcceptedUploads().size(), 3u);
}
