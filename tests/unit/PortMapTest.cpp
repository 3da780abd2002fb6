#include <gtest/gtest.h>

#include <fstream>

#include "link/posix/PortMap.h"
#include "tests/support/TempDir.h"

namespace {

void Touch(const std::filesystem::path& p, const std::string& content = "") {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << content;
}

}  // namespace

TEST(PortMap, OverridesFirstThenRealDevicesInNaturalOrder) {
    TempDir dir;
    const auto sys = dir.path() / "sys", dev = dir.path() / "dev";
    Touch(sys / "ttyS0" / "type", "4\n");  // a real 16550A
    Touch(sys / "ttyS1" / "type", "0\n");  // listed by the kernel, no UART behind it
    Touch(sys / "ttyS10" / "type", "4\n");
    Touch(sys / "ttyS2" / "type", "4\n");
    Touch(dev / "ttyUSB0");
    Touch(dev / "ttyACM0");
    Touch(dev / "ttyUSB10");
    Touch(dev / "ttyUSB9");
    Touch(dev / "ttyUSBx");  // not a numbered device

    PortMap map({{{3, "/tmp/sim-link"}, {19, (dev / "ttyUSB9").string()}}}, sys.string(),
                dev.string());
    EXPECT_EQ(map.PathFor(1), (dev / "ttyS0").string());
    EXPECT_EQ(map.PathFor(2), (dev / "ttyS2").string());
    EXPECT_EQ(map.PathFor(3), "/tmp/sim-link");
    EXPECT_EQ(map.PathFor(4), (dev / "ttyS10").string());
    EXPECT_EQ(map.PathFor(5), (dev / "ttyUSB0").string());
    EXPECT_EQ(map.PathFor(6), (dev / "ttyUSB10").string());  // ttyUSB9 is COM19's already
    EXPECT_EQ(map.PathFor(7), (dev / "ttyACM0").string());
    EXPECT_EQ(map.PathFor(8), "");
    EXPECT_EQ(map.PathFor(19), (dev / "ttyUSB9").string());
    EXPECT_EQ(map.PathFor(0), "");
    EXPECT_EQ(map.PathFor(20), "");

    // A device plugged in later shows up at the next rescan.
    Touch(dev / "ttyACM1");
    map.Rescan();
    EXPECT_EQ(map.PathFor(8), (dev / "ttyACM1").string());
}

TEST(PortMap, DevicesBeyondNineteenAndNamedPortsUpTo256GetHigherNumbers) {
    TempDir dir;
    const auto dev = dir.path() / "dev";
    for (int i = 0; i < 21; ++i) Touch(dev / ("ttyUSB" + std::to_string(i)));
    PortMap map({{{23, "/tmp/sim-link"}, {256, "/x"}, {257, "/y"}}}, (dir.path() / "sys").string(),
                dev.string());
    EXPECT_EQ(map.PathFor(19), (dev / "ttyUSB18").string());
    EXPECT_EQ(map.PathFor(20), (dev / "ttyUSB19").string());
    EXPECT_EQ(map.PathFor(21), (dev / "ttyUSB20").string());
    EXPECT_EQ(map.PathFor(22), "");
    EXPECT_EQ(map.PathFor(23), "/tmp/sim-link");
    EXPECT_EQ(map.PathFor(256), "/x");
    EXPECT_EQ(map.FurtherPorts(), (std::vector<int>{20, 21, 23, 256}));
}

TEST(PortMap, WithoutDiscoveryOnlyTheNamedPortsExist) {
    TempDir dir;
    Touch(dir.path() / "sys" / "ttyS0" / "type", "4\n");
    PortMap map({{{2, "/x"}}, false}, (dir.path() / "sys").string(), dir.path().string());
    EXPECT_EQ(map.PathFor(1), "");
    EXPECT_EQ(map.PathFor(2), "/x");
    EXPECT_TRUE(map.FurtherPorts().empty());
}

TEST(PortMap, NaturalOrder) {
    EXPECT_TRUE(NaturalLess("ttyS2", "ttyS10"));
    EXPECT_FALSE(NaturalLess("ttyS10", "ttyS2"));
    EXPECT_TRUE(NaturalLess("ttyS02", "ttyS3"));
    EXPECT_FALSE(NaturalLess("ttyS1", "ttyS1"));
    EXPECT_TRUE(NaturalLess("ttyS1", "ttyS1a"));
}
