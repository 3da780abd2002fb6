// The program's command line, run for real with no display in the environment: options are
// read before anything touches a window system.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/support/TempDir.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;  // standard output and error together
};

Outcome RunQubset(const std::string& arguments) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                std::string(QUBSET_BINARY) + " " + arguments + " 2>&1";
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

}  // namespace

TEST(CommandLine, HelpVersionAndRefusalsWithoutADisplay) {
    TempDir dir;
    const struct {
        std::string arguments;
        int status;
        std::string shows;
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
             ": No such file or directory\n"},
        // An existing file that is no trace is refused and left as it was.
        {"--trace " + dir.File("notes.txt"), 2,
         "Qubset: cannot write the trace file " + dir.File("notes.txt") +
             ": it is not a wire trace, and it is left as it was\n"},
    };
    const std::string notes = "an installer's notes\n" + std::string(3'000'000, 'n');
    { std::ofstream(dir.File("notes.txt"), std::ios::binary) << notes; }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = RunQubset(c.arguments);
        EXPECT_EQ(run.status, c.status);
        if (c.arguments.starts_with("-h") || c.arguments == "--help")
            EXPECT_TRUE(run.out.starts_with(c.shows)) << run.out;
        else
            EXPECT_EQ(run.out, c.shows);
    }
    std::ifstream kept(dir.File("notes.txt"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), notes);
}
