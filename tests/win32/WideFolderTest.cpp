// Files in a folder whose name the ANSI code page need not hold, as a user folder with an 'ü'
// in its name is: the trace, its rotation shared by two programs, and a whole-file write.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "device/SafeFile.h"
#include "link/FrameCodec.h"
#include "link/WireTrace.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<std::string> Lines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(WideFolder, TraceRotatedByTwoAndAWholeFileWrite) {
    TempDir dir;
    const std::filesystem::path folder = dir.path() / L"M\u00fcller \u0141\u00f3d\u017a";
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::filesystem::path trace = folder / L"Qubset-trace.log";
    constexpr int kFrames = 60;  // about 120 KB a line: the bound passed more than once
    {
        WireTrace one, two;
        std::string why;
        ASSERT_TRUE(one.Open(trace, &why)) << why;
        ASSERT_TRUE(two.Open(trace, &why)) << why;
        const std::vector<std::uint8_t> frame(40000 + frame::kOverhead, 0x5A);
        for (int i = 0; i < kFrames; ++i) {
            one.Sent(1, frame.data(), frame.size(), true);
            two.Sent(2, frame.data(), frame.size(), true);
        }
    }
    std::filesystem::path rotated = trace;
    rotated += ".1";
    for (const auto& path : {trace, rotated}) {
        const std::vector<std::string> lines = Lines(path);
        ASSERT_FALSE(lines.empty()) << path.string();
        EXPECT_EQ(lines.front().rfind(WireTrace::kSignature, 0), 0u) << path.string();
        // Each program may append what it has waiting before it looks at the size.
        EXPECT_LE(std::filesystem::file_size(path),
                  WireTrace::kMaxBytes + 2 * (WireTrace::kMaxPending + 130'000));
        // Every line whole: neither program wrote into the other's.
        for (const std::string& line : lines)
            EXPECT_TRUE(line.starts_with('#') || line.ends_with("5A 5A")) << line.substr(0, 40);
    }

    const std::filesystem::path site = folder / L"sklep.qubsite";
    ASSERT_EQ(WriteWholeFile(site, "first"), FileResult::Done);
    ASSERT_EQ(WriteWholeFile(site, "second", FileAccess::Private), FileResult::Done);
    std::string bytes;
    ASSERT_EQ(ReadBoundedFile(site, 100, &bytes), FileResult::Done);
    EXPECT_EQ(bytes, "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              3);
}
