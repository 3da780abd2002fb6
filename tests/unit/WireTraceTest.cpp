// The wire trace: what a failed receive and an unopened port leave in it, its bound, and the
// files it will not touch.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "device/DeviceData.h"
#include "link/FrameCodec.h"
#include "link/PortSearch.h"
#include "link/SerialPort.h"
#include "link/WireTrace.h"
#include "tests/support/RefusingLine.h"
#include "tests/support/ScriptedLine.h"
#include "tests/support/TempDir.h"

using Bytes = std::vector<std::uint8_t>;

namespace {

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A line without its time stamp.
std::string Untimed(const std::string& line) {
    static const std::regex stamp(R"(^ *\d+\.\d{3} )");
    return std::regex_replace(line, stamp, "");
}

}  // namespace

// A search where COM1 refuses and COM2 answers with a broken frame, then silence.
TEST(WireTrace, FailedReceivesAndPortsNotOpened) {
    TempDir dir;
    {
        WireTrace trace;
        ASSERT_TRUE(trace.Open(dir.File("trace.log"), nullptr));
        auto scripted = std::make_unique<ScriptedLine>();
        scripted->presentPort = 2;
        Bytes broken = FrameBytes({5});
        broken.back() = static_cast<std::uint8_t>(broken.back() + 1);
        scripted->Queue(broken);
        RefusingLine line(std::move(scripted),
                          {{1, PortFault::Denied, EACCES, "/dev/ttyUSB0", ""}});
        SerialPort port(line, &trace);
        DeviceData data;
        EXPECT_EQ(FindDevice(port, data), 0);
        ASSERT_EQ(port.openFailures().size(), 1u);
        EXPECT_EQ(port.openFailures()[0].device, "/dev/ttyUSB0");
        // Nothing more arrives: the next receive finds no start byte.
        std::uint8_t buffer[8];
        EXPECT_EQ(port.ReceiveFrame(buffer, 4, 10), rx::kNoStart);
    }  // everything written
    std::vector<std::string> lines = Lines(dir.File("trace.log"));
    ASSERT_EQ(lines.size(), 2u + 5u);
    EXPECT_EQ(lines[0].rfind("# wire trace opened ", 0), 0u);
    std::transform(lines.begin() + 2, lines.end(), lines.begin() + 2, Untimed);
    EXPECT_EQ(lines[2],
              "!! COM1 /dev/ttyUSB0 not opened: " + std::generic_category().message(EACCES) +
                  " (system error " + std::to_string(EACCES) + ")");
    EXPECT_EQ(lines[3], "TX COM2 cmd 13 len 1: 7E 01 00 0D 8C");
    EXPECT_EQ(lines[4], "RX COM2 cmd 13 failed -6: 7E 01 00 05 85");
    EXPECT_EQ(lines[5], "== COM2 identify result -102");
    EXPECT_EQ(lines[6], "RX COM- cmd 13 failed -1:");
}

// The file is the user's alone. Past its bound it moves to "<name>.1" and a new file starts
// with its own first line: every line whole, the newest frames kept in order across the two.
// A trace opened again appends, and is private again.
TEST(WireTrace, RotatesPastItsBoundIntoAPrivateFile) {
    TempDir dir;
    const std::string path = dir.File("trace.log");
    constexpr int kFrames = 100;
    {
        WireTrace trace;
        ASSERT_TRUE(trace.Open(path, nullptr));
        // About 120 KB a line: 100 lines pass the bound twice.
        Bytes frame(40000 + frame::kOverhead);
        for (int i = 0; i < kFrames; ++i) {
            frame[frame::kHeaderSize] = static_cast<std::uint8_t>(i);
            trace.Sent(1, frame.data(), frame.size(), true);
        }
    }
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_LE(std::filesystem::file_size(path), WireTrace::kMaxBytes + 130'000);
    std::vector<std::string> lines = Lines(path + ".1");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().rfind("# wire trace ", 0), 0u);
    const std::vector<std::string> newer = Lines(path);
    ASSERT_FALSE(newer.empty());
    EXPECT_EQ(newer.front().rfind("# wire trace continued ", 0), 0u);
    lines.insert(lines.end(), newer.begin(), newer.end());
    std::erase_if(lines, [](const std::string& l) { return l.starts_with('#'); });
    ASSERT_FALSE(lines.empty());
    // A whole line: its head, then the 40004 bytes of its frame.
    const std::regex head(R"(^ *\d+\.\d{3} TX COM1 cmd (\d+) len 40000:)");
    const auto frameLine = [&](const std::string& line, std::smatch& m) {
        return std::regex_search(line, m, head) &&
               line.size() == static_cast<std::size_t>(m.length(0)) + 3 * 40004;
    };
    std::smatch m;
    ASSERT_TRUE(frameLine(lines.front(), m));
    const int first = std::stoi(m[1]);
    EXPECT_GT(first, 0);  // the oldest frames are gone with the first ".1"
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(kFrames - first));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_TRUE(frameLine(lines[i], m)) << i;
        EXPECT_EQ(std::stoi(m[1]), first + static_cast<int>(i));
    }

    // Opened again, a trace left open to others by hand is the user's alone again.
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    const auto before = std::filesystem::file_size(path);
    {
        WireTrace again;
        ASSERT_TRUE(again.Open(path, nullptr));
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        const std::uint8_t quit[] = {0x7E, 0x01, 0x00, 0x0F, 0x8E};
        again.Sent(3, quit, sizeof quit, false);
    }
    EXPECT_GT(std::filesystem::file_size(path), before);
    EXPECT_EQ(Untimed(Lines(path).back()), "TX COM3 cmd 15 len 1 not written: 7E 01 00 0F 8E");
}

// A trace never writes to what it did not make: a file that is not a trace, or a symbolic
// link, is refused and stays as it was. Two traces into one file keep each other's lines.
TEST(WireTrace, LeavesOtherFilesAloneAndSharesItsOwn) {
    TempDir dir;
    const std::string notes = dir.File("notes.txt");
    const std::string text = "not a trace\n" + std::string(100000, 'x');
    std::ofstream(notes, std::ios::binary) << text;
    const std::string link = dir.File("link.log");
    std::filesystem::create_symlink(notes, link);
    for (const std::string& path : {notes, link}) {
        WireTrace trace;
        std::string why;
        EXPECT_FALSE(trace.Open(path, &why)) << path;
        EXPECT_FALSE(why.empty());
    }
    std::ifstream in(notes, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);

    const std::string shared = dir.File("shared.log");
    constexpr int kEach = 2000;
    {
        WireTrace one, two;
        ASSERT_TRUE(one.Open(shared, nullptr));
        ASSERT_TRUE(two.Open(shared, nullptr));
        for (int i = 0; i < kEach; ++i) {
            one.Result(1, "one", i);
            two.Result(2, "two", i);
        }
    }
    int ones = 0, twos = 0;
    for (const std::string& line : Lines(shared)) {
        ones += line.find("== COM1 one result") != std::string::npos;
        twos += line.find("== COM2 two result") != std::string::npos;
    }
    EXPECT_EQ(ones, kEach);
    EXPECT_EQ(twos, kEach);
}

// A write the disk refuses (here a file size limit, as a full disk would) ends the trace with
// one message; what was written stays, and the session's later lines cost nothing.
TEST(WireTrace, AFailedWriteStopsItAndKeepsWhatWasWritten) {
    TempDir dir;
    const std::string path = dir.File("trace.log");
    const std::string messages = dir.File("stderr.txt");
    constexpr rlim_t kLimit = 64 * 1024;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{kLimit, kLimit};
        if (!std::freopen(messages.c_str(), "w", stderr) || setrlimit(RLIMIT_FSIZE, &limit))
            _exit(3);
        {
            WireTrace trace;
            if (!trace.Open(path, nullptr)) _exit(4);
            const Bytes frame(1000 + frame::kOverhead, 0x55);
            for (int i = 0; i < 500; ++i) trace.Sent(1, frame.data(), frame.size(), true);
        }
        std::fflush(stderr);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(std::filesystem::file_size(path), kLimit);
    const std::vector<std::string> said = Lines(messages);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("stopped here: File too large"), std::string::npos) << said[0];
    const std::vector<std::string> lines = Lines(path);
    ASSERT_GT(lines.size(), 20u);
    EXPECT_EQ(lines[0].rfind("# wire trace opened ", 0), 0u);
    EXPECT_EQ(Untimed(lines[2]).substr(0, 31), "TX COM1 cmd 85 len 1000: 55 55 ");
}
