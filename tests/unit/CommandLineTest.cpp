// The program's command line, run for real with no display in the environment (unless a case
// names one): options are read before anything touches a window system.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "device/DeviceData.h"
#include "qubset/ExitStatus.h"
#include "qubset/Verbs.h"
#include "site/SiteFile.h"
#include "tests/support/TempDir.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;  // standard output and error together
};

Outcome RunQubset(const std::string& arguments, const std::string& display) {
    // Bounded: a program that hangs fails its case rather than the whole run.
    const std::string command = "timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                display + " " + std::string(QUBSET_BINARY) + " " + arguments +
                                " 2>&1";
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 512> chunk{};
    while (const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
        run.out.append(chunk.data(), n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

constexpr const char* kFirstFormatFile = R"({
  "format": "Qubset site file",
  "format_version": 1,
  "program_version": "1.0.0",
  "saved": "2026-04-01T08:30:00Z",
  "unit": {
    "record_version": 41,
    "model": "QBR-200",
    "id": "IMEI-1",
    "firmware": "4.1"
  },
  "values": {
    "dtmf.number.1": "0301234",
    "end.cusd": "123",
    "end.text.1": "Caf\u00e9"
  },
  "check": {
    "sha256": "42ec2b51a79a4ae80b086ac318b68ac34ae27d523d92db55613e0cfafff2c31c",
    "fields": {
      "dtmf.number.1": "819ecc9fd5528548",
      "end.cusd": "4f6ddef4123d3a01",
      "end.text.1": "9fcd7e7d1988fd37"
    }
  }
}
)";

// Site files of one unit: as saved, with two values changed, edited by hand, cut short.
void WriteSiteFiles(const TempDir& dir) {
    auto unit = std::make_unique<DeviceData>();
    unit->identReply[layout::kIdentVersionByte] = 41;
    unit->setSlotText(layout::kSlotDtmfNumber0, "0301234");
    unit->setCusdValue(123);
    const std::string good =
        site::Serialize(site::FromRecord(*unit, false, "2026-05-01T08:30:00Z"));
    unit->setSlotText(layout::kSlotDtmfNumber0, "555");
    unit->setCusdValue(7);
    std::string edited = good;
    edited.replace(edited.find("0301234"), 7, "0301239");
    WriteBytes(dir.path() / "good.qubsite", good);
    WriteBytes(dir.path() / "other.qubsite",
               site::Serialize(site::FromRecord(*unit, false, "2026-05-02T08:30:00Z")));
    WriteBytes(dir.path() / "edited.qubsite", edited);
    WriteBytes(dir.path() / "cut.qubsite", good.substr(0, good.size() - 40));
    // With passwords and codes, for the handover record, which never shows them.
    unit->setSlotText(layout::kSlotApnLogin, "apn.qub,inst:s3cret");
    unit->setSlotText(layout::kSlotSupervisorCode0, "2468");
    WriteBytes(dir.path() / "secret.qubsite",
               site::Serialize(site::FromRecord(*unit, true, "2026-05-03T08:30:00Z")));
    // Control characters where a terminal would act on them: in the unit's id, a value, a
    // name.
    site::SiteFile odd = site::FromRecord(*unit, false, "2026-05-04T08:30:00Z");
    odd.unit.id = std::string("a\0b\x1B[2J\\", 8);
    for (auto& [name, value] : odd.values)
        if (name == "end.text.1") value = "\x1B]0;title\x07";
    odd.values.emplace_back("x\x1B[31m",
                            "\xC2\x9B"
                            "1m");
    WriteBytes(dir.path() / "odd.qubsite", site::Serialize(odd));
    std::string nulValue = site::Serialize(odd);
    nulValue.replace(nulValue.find("\\u001b]0;"), 6, "\\u0000");
    WriteBytes(dir.path() / "nul.qubsite", nulValue);
    // As the first released program saved them, and one with two fields run into one name,
    // which its hash took for the same.
    std::string first = kFirstFormatFile;
    WriteBytes(dir.path() / "first.qubsite", first);
    const std::string twoFields = "\"dtmf.number.1\": \"0301234\",\n    \"end.cusd\"";
    first.replace(first.find(twoFields), twoFields.size(),
                  "\"dtmf.number.1\\u00000301234\\u0000end.cusd\"");
    WriteBytes(dir.path() / "merged.qubsite", first);
}

}  // namespace

TEST(CommandLine, HelpVersionAndRefusalsWithoutADisplay) {
    TempDir dir;
    const std::string kNoDisplay =
        "Qubset: the wizard needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is set\n"
        "'qubset --help' lists what works without one.\n";
    const struct {
        std::string arguments;
        int status;
        std::string shows;
        bool whole = true;         // the output is exactly `shows`, else it holds it
        std::string display = "";  // variables that give the wizard one
    } cases[] = {
        {"--version", 0, "Qubset " QUBSET_FULL_VERSION "\n"},
        {"--help", 0, "Usage: qubset [SITEFILE.qubsite] [--trace FILE [--trace-secrets]]\n"},
        {"-h", 0, "Usage: qubset [SITEFILE.qubsite] [--trace FILE [--trace-secrets]]\n"},
        {"--trace-secrets", 2,
         "Qubset: option '--trace-secrets' needs '--trace FILE'\nTry 'qubset --help'.\n"},
        {"--frobnicate", 2, "Qubset: unknown option '--frobnicate'\nTry 'qubset --help'.\n"},
        // A site file to open is the wizard's one argument.
        {"a.qubsite COM3", 2, "Qubset: unexpected argument 'COM3'\nTry 'qubset --help'.\n"},
        {"--trace " + dir.File("t.log") + " " + dir.File("good.qubsite"), 3, kNoDisplay},
        {"--trace", 2, "Qubset: option '--trace' needs a file name\nTry 'qubset --help'.\n"},
        {"--trace=", 2, "Qubset: option '--trace' needs a file name\nTry 'qubset --help'.\n"},
        {"--trace " + dir.File("no/such/folder/trace.log"), 2,
         "Qubset: cannot write the trace file " + dir.File("no/such/folder/trace.log") +
             ": No such file or directory\n",
         true, "QT_QPA_PLATFORM=offscreen"},
        // A pipe no one reads would hold the start up for ever.
        {"--trace " + dir.File("fifo"), 2,
         "Qubset: cannot write the trace file " + dir.File("fifo") + ": it is not a regular file\n",
         true, "QT_QPA_PLATFORM=offscreen"},
        // An existing file that is no trace is refused and left as it was.
        {"--trace " + dir.File("notes.txt"), 2,
         "Qubset: cannot write the trace file " + dir.File("notes.txt") +
             ": it is not a wire trace, and it is left as it was\n",
         true, "QT_QPA_PLATFORM=offscreen"},
        // The wizard says what it lacks instead of Qt's abort, and opens no trace first.
        {"", 3, kNoDisplay},
        {"", 3, kNoDisplay, true, "QT_QPA_PLATFORM=xcb"},
        {"--trace " + dir.File("trace.log"), 3, kNoDisplay},
        {"--check " + dir.File("good.qubsite"), 0, dir.File("good.qubsite") + ": sound\n"},
        {"--check " + dir.File("cut.qubsite"), 2,
         dir.File("cut.qubsite") + ": it is not valid JSON (damaged or cut short)\n"},
        {"--check " + dir.File("edited.qubsite"), 2,
         dir.File("edited.qubsite") + ": changed after it was saved, first at dtmf.number.1\n"},
        {"--check " + dir.File("none.qubsite"), 2,
         dir.File("none.qubsite") + ": it cannot be opened\n"},
        {"--check " + dir.File("fifo"), 2, dir.File("fifo") + ": it cannot be opened\n"},
        {"--diff " + dir.File("good.qubsite") + " " + dir.File("good.qubsite"), 0, ""},
        {"--diff " + dir.File("good.qubsite") + " " + dir.File("other.qubsite"), 1,
         "dtmf.number.1: \"0301234\" -> \"555\"\nend.cusd: \"123\" -> \"7\"\n"},
        {"--diff " + dir.File("good.qubsite") + " " + dir.File("cut.qubsite"), 2,
         dir.File("cut.qubsite") + ": it is not valid JSON (damaged or cut short)\n"},
        {"--show " + dir.File("good.qubsite"), 0,
         "Unit: , id , firmware , record version 41\nSaved: 2026-05-01T08:30:00Z by Qubset " +
             std::string(QUBSET_FULL_VERSION) + "\n\nfield",
         false},
        {"--show " + dir.File("good.qubsite"), 0, "\ndtmf.number.1          0301234\n", false},
        {"--check", 2, "Qubset: option '--check' needs a file name\nTry 'qubset --help'.\n"},
        {"--report " + dir.File("secret.qubsite") + " " + dir.File("handover.html"), 0,
         dir.File("handover.html") + ": handover record of " + dir.File("secret.qubsite") + "\n"},
        {"--report " + dir.File("cut.qubsite") + " " + dir.File("none.html"), 2,
         dir.File("cut.qubsite") + ": it is not valid JSON (damaged or cut short)\n"},
        {"--diff " + dir.File("good.qubsite"), 2,
         "Qubset: option '--diff' needs two file names\nTry 'qubset --help'.\n"},
        {"--check " + dir.File("first.qubsite"), 0, dir.File("first.qubsite") + ": sound\n"},
        {"--check " + dir.File("merged.qubsite"), 2,
         dir.File("merged.qubsite") + ": a field name holds a NUL character\n"},
        {"--report " + dir.File("first.qubsite") + " " + dir.File("first.html"), 0,
         dir.File("first.html") + ": handover record of " + dir.File("first.qubsite") + "\n"},
        {"--show " + dir.File("odd.qubsite"), 0,
         "Unit: , id a\\x00b\\x1B[2J\\\\, firmware , record version 41\n", false},
        {"--show " + dir.File("odd.qubsite"), 0, "\nend.text.1             \\x1B]0;title\\x07\n",
         false},
        {"--show " + dir.File("odd.qubsite"), 0, "\nx\\x1B[31m              \\xC2\\x9B1m\n", false},
        {"--check " + dir.File("nul.qubsite"), 2,
         dir.File("nul.qubsite") + ": the value of end.text.1 holds a NUL character\n"},
        {"--show " + dir.File("secret.qubsite"), 0, "\ngprs.password          ******\n", false},
        {"--show " + dir.File("secret.qubsite") + " --include-passwords", 0,
         "\ngprs.password          s3cret\n", false},
        {"--diff " + dir.File("good.qubsite") + " " + dir.File("secret.qubsite"), 1,
         "gprs.password: (absent) -> \"******\"\n", false},
        {"--diff --include-passwords " + dir.File("good.qubsite") + " " +
             dir.File("secret.qubsite"),
         1, "supervisor.code.1: (absent) -> \"2468\"\n", false},
        {"--check " + dir.File("good.qubsite") + " --include-passwords", 2,
         "Qubset: option '--include-passwords' goes only after --show, --diff or --read\nTry "
         "'qubset --help'.\n"},
        // The commands on a unit: what they refuse before any port is opened.
        {"--set", 2, "Qubset: option '--set' needs NAME=VALUE\nTry 'qubset --help'.\n"},
        {"--set =1", 2, "Qubset: option '--set' needs NAME=VALUE\nTry 'qubset --help'.\n"},
        {"--write", 2, "Qubset: option '--write' needs a file name\nTry 'qubset --help'.\n"},
        {"--write a.qubsite --include-passwords", 2,
         "Qubset: option '--include-passwords' goes only after --show, --diff or --read\nTry "
         "'qubset --help'.\n"},
        {"--read a.qubsite --clone", 2,
         "Qubset: option '--clone' goes only after --write\nTry 'qubset --help'.\n"},
        {"--read a.qubsite --port COMx", 2,
         "Qubset: option '--port' needs a port such as COM3, not 'COMx'\nTry 'qubset "
         "--help'.\n"},
        {"--read a.qubsite --port", 2,
         "Qubset: option '--port' needs COMn\nTry 'qubset --help'.\n"},
        {"--read a.qubsite --dial 0301234", 2,
         "Qubset: option '--dial' needs '--password P'\nTry 'qubset --help'.\n"},
        {"--set end.cusd=1 --protocol=2", 2,
         "Qubset: options '--password' and '--protocol' go only with '--dial NUMBER'\nTry "
         "'qubset --help'.\n"},
        {"--write a.qubsite --dial 1 --password p --protocol 4", 2,
         "Qubset: option '--protocol' needs 0, 1, 2 or 3\nTry 'qubset --help'.\n"},
        {"--show a.qubsite --read b.qubsite", 2,
         "Qubset: options '--show' and '--read' do not go together\nTry 'qubset --help'.\n"},
        {"--dry-run", 2,
         "Qubset: option '--dry-run' goes only after --write\nTry 'qubset --help'.\n"},
        {"--set gprs.no_such=1", 2, "refused: there is no field gprs.no_such\n"},
        {"--write " + dir.File("cut.qubsite") + " --json", 2, "\"result\": \"bad file\"", false},
        {"--check " + dir.File("good.qubsite") + " --json", 0, "\"result\": \"sound\"", false},
        {"--check " + dir.File("edited.qubsite") + " --json", 2,
         "\"message\": \"" + dir.File("edited.qubsite") +
             ": changed after it was saved, first at dtmf.number.1\"",
         false},
        {"--diff --json " + dir.File("good.qubsite") + " " + dir.File("other.qubsite"), 1,
         "{\n      \"field\": \"dtmf.number.1\",\n      \"first\": \"0301234\",\n      "
         "\"second\": \"555\"\n    }",
         false},
        {"--show " + dir.File("secret.qubsite") + " --json", 0, "\"gprs.password\": \"******\"",
         false},
        {"--show " + dir.File("odd.qubsite") + " --json", 0,
         "\"end.text.1\": \"\\u001b]0;title\\u0007\"", false},
        {"--write a.qubsite --ledger l.csv", 2,
         "Qubset: options '--values', '--ledger', '--count', '--report-dir' and '--again' go "
         "only with '--each'\nTry 'qubset --help'.\n"},
        {"--each --write a.qubsite --dry-run", 2,
         "Qubset: option '--each' goes with neither '--dry-run' nor '--dial'\nTry 'qubset "
         "--help'.\n"},
        {"--each --write a.qubsite --count 0", 2,
         "Qubset: option '--count' needs a number of units, 1 or more\nTry 'qubset --help'.\n"},
        {"--each --write " + dir.File("good.qubsite") + " --values " + dir.File("none.csv"), 2,
         dir.File("none.csv") + ": it cannot be read\n"},
        // After "--" a name that starts with a dash is a file.
        {"--check -- -x.qubsite", 2, "-x.qubsite: it cannot be opened\n"},
    };
    WriteSiteFiles(dir);
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    const std::string notes = "an installer's notes\n" + std::string(3'000'000, 'n');
    { std::ofstream(dir.File("notes.txt"), std::ios::binary) << notes; }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = RunQubset(c.arguments, c.display);
        EXPECT_EQ(run.status, c.status);
        if (c.arguments.starts_with("-h") || c.arguments == "--help") {
            EXPECT_TRUE(run.out.starts_with(c.shows)) << run.out;
            EXPECT_TRUE(run.out.ends_with("\nReport bugs at " QUBSET_BUG_REPORTS "\n")) << run.out;
        } else if (!c.whole)
            EXPECT_NE(run.out.find(c.shows), std::string::npos) << run.out;
        else
            EXPECT_EQ(run.out, c.shows);
    }
    const std::string html = ReadBytes(dir.path() / "handover.html");
    EXPECT_NE(html.find("<td>555</td>"), std::string::npos) << html;
    EXPECT_NE(html.find("<td>apn.qub</td>"), std::string::npos);
    for (const char* secret : {"s3cret", "2468"}) EXPECT_EQ(html.find(secret), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.html"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "trace.log"));
    EXPECT_NE(ReadBytes(dir.path() / "first.html").find("<td>0301234</td>"), std::string::npos);
    std::ifstream kept(dir.File("notes.txt"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), notes);
}

namespace {

std::string Roff(std::string_view text) {
    std::string roff;
    for (const char c : text) roff += c == '-' ? std::string("\\-") : std::string(1, c);
    return roff;
}

}  // namespace

// The manual page and the README say what the command table holds, and bash completes from it.
TEST(CommandLine, ManualPageReadmeAndCompletionFollowTheCommandTable) {
    const std::string manual = ReadBytes(QUBSET_SOURCE_DIR "/packaging/qubset.1.in");
    const std::string readme = ReadBytes(QUBSET_SOURCE_DIR "/README.md");
    for (const verbs::Verb& verb : verbs::Verbs()) {
        if (verb.name.empty()) continue;
        EXPECT_NE(manual.find(Roff(verb.name)), std::string::npos) << verb.name;
    }
    for (const verbs::Option& option : verbs::Options())
        EXPECT_NE(manual.find(Roff(option.name)), std::string::npos) << option.name;
    const std::string exitSection = manual.substr(manual.find(".SH EXIT STATUS"));
    for (const ExitStatusLine& line : kExitStatuses) {
        const std::string status = std::to_string(line.status);
        EXPECT_NE(exitSection.find(".B " + status + "\n" + Roff(line.meaning) + "\n"),
                  std::string::npos)
            << line.meaning;
        EXPECT_NE(readme.find("| " + status + " | " + std::string(line.meaning) + " |"),
                  std::string::npos)
            << line.meaning;
    }

    TempDir dir;
    const struct {
        std::string words;
        std::string offered;
    } completions[] = {
        {"qubset --write x --c", "--clone --count"},
        {"qubset --each --write x --ag", "--again"},
        {"qubset --read x --c", ""},
        {"qubset --re", "--report --read"},
        {"qubset --set end.cusd=1 --no", "--no-verify"},
        {"qubset --read x --port CO", "COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8 COM9"},
        {"qubset --tr", "--trace --trace-secrets"},
    };
    for (const auto& c : completions) {
        SCOPED_TRACE(c.words);
        WriteBytes(dir.path() / "complete.sh",
                   "source " QUBSET_COMPLETION "\nCOMP_WORDS=(" + c.words +
                       ")\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_qubset_complete\n"
                       "echo \"${COMPREPLY[*]}\"\n");
        FILE* pipe = popen(("bash " + dir.File("complete.sh")).c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::array<char, 512> chunk{};
        std::string out;
        while (const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
            out.append(chunk.data(), n);
        EXPECT_EQ(pclose(pipe), 0);
        EXPECT_EQ(out, c.offered + "\n");
    }
}
