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
}

}  // namespace

TEST(CommandLine, HelpVersionAndRefusalsWithoutADisplay) {
    TempDir dir;
    const std::string kNoDisplay =
        "Qubset: the wizard needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is set\n"
        "'Qubset --help' lists what works without one.\n";
    const struct {
        std::string arguments;
        int status;
        std::string shows;
        bool whole = true;         // the output is exactly `shows`, else it holds it
        std::string display = "";  // variables that give the wizard one
    } cases[] = {
        {"--version", 0, "Qubset " QUBSET_FULL_VERSION "\n"},
        {"--help", 0, "Usage: Qubset [--trace FILE [--trace-secrets]]\n"},
        {"-h", 0, "Usage: Qubset [--trace FILE [--trace-secrets]]\n"},
        {"--trace-secrets", 2,
         "Qubset: option '--trace-secrets' needs '--trace FILE'\nTry 'Qubset --help'.\n"},
        {"--frobnicate", 2, "Qubset: unknown option '--frobnicate'\nTry 'Qubset --help'.\n"},
        {"COM3", 2, "Qubset: unexpected argument 'COM3'\nTry 'Qubset --help'.\n"},
        {"--trace", 2, "Qubset: option '--trace' needs a file name\nTry 'Qubset --help'.\n"},
        {"--trace=", 2, "Qubset: option '--trace' needs a file name\nTry 'Qubset --help'.\n"},
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
        {"--trace " + dir.File("trace.log"), 3, kNoDisplay},
        {"--check " + dir.File("good.qubsite"), 0, dir.File("good.qubsite") + ": sound\n"},
        {"--check " + dir.File("cut.qubsite"), 2,
         dir.File("cut.qubsite") + ": it is not valid JSON (damaged or cut short)\n"},
        {"--check " + dir.File("edited.qubsite"), 2,
         dir.File("edited.qubsite") + ": changed after it was saved, first at dtmf.number.1\n"},
        {"--check " + dir.File("none.qubsite"), 2,
         dir.File("none.qubsite") + ": it cannot be opened\n"},
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
        {"--check", 2, "Qubset: option '--check' needs a file name\nTry 'Qubset --help'.\n"},
        {"--report " + dir.File("secret.qubsite") + " " + dir.File("handover.html"), 0,
         dir.File("handover.html") + ": handover record of " + dir.File("secret.qubsite") + "\n"},
        {"--report " + dir.File("cut.qubsite") + " " + dir.File("none.html"), 2,
         dir.File("cut.qubsite") + ": it is not valid JSON (damaged or cut short)\n"},
        {"--diff " + dir.File("good.qubsite"), 2,
         "Qubset: option '--diff' needs two file names\nTry 'Qubset --help'.\n"},
    };
    WriteSiteFiles(dir);
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    const std::string notes = "an installer's notes\n" + std::string(3'000'000, 'n');
    { std::ofstream(dir.File("notes.txt"), std::ios::binary) << notes; }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = RunQubset(c.arguments, c.display);
        EXPECT_EQ(run.status, c.status);
        if (c.arguments.starts_with("-h") || c.arguments == "--help")
            EXPECT_TRUE(run.out.starts_with(c.shows)) << run.out;
        else if (!c.whole)
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
    std::ifstream kept(dir.File("notes.txt"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), notes);
}
