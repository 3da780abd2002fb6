// The wire trace: what a failed receive and an unopened port leave in it, and its bound.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "device/DeviceData.h"
#include "link/FrameCodec.h"
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
        EXPECT_EQ(port.FindDevice(data), 0);
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

// Past 8 MiB the older half goes; the file starts at a whole line and keeps every newer
// frame. A trace opened again appends.
TEST(WireTrace, DropsTheOlderHalfPastItsBound) {
    TempDir dir;
    const std::string path = dir.File("trace.log");
    constexpr int kFrames = 100;
    {
        WireTrace trace;
        ASSERT_TRUE(trace.Open(path, nullptr));
        // About 120 KB a line: 100 lines pass the bound once.
        Bytes frame(40000 + frame::kOverhead);
        for (int i = 0; i < kFrames; ++i) {
            frame[frame::kHeaderSize] = static_cast<std::uint8_t>(i);
            trace.Sent(1, frame.data(), frame.size(), true);
        }
    }
    EXPECT_LE(std::filesystem::file_size(path), WireTrace::kMaxBytes);
    EXPECT_GE(std::filesystem::file_size(path), WireTrace::kMaxBytes / 2);
    const std::vector<std::string> lines = Lines(path);
    ASSERT_FALSE(lines.empty());
    const std::string head = lines.front().substr(0, 40);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(head, m, std::regex(R"(^ *\d+\.\d{3} TX COM1 cmd (\d+) len.*)")));
    const int first = std::stoi(m[1]);
    EXPECT_GT(first, 0);  // the oldest frames are gone
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(kFrames - first));
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_NE(lines[i].find("cmd " + std::to_string(first + static_cast<int>(i)) + " len"),
                  std::string::npos);

    const auto before = std::filesystem::file_size(path);
    {
        WireTrace again;
        ASSERT_TRUE(again.Open(path, nullptr));
        const std::uint8_t quit[] = {0x7E, 0x01, 0x00, 0x0F, 0x8E};
        again.Sent(3, quit, sizeof quit, false);
    }
    EXPECT_GT(std::filesystem::file_size(path), before);
    EXPECT_EQ(Untimed(Lines(path).back()), "TX COM3 cmd 15 len 1 not written: 7E 01 00 0F 8E");
}
