// The serial line and the device commands over a real pseudo-terminal: byte streams from a
// test-played device, and the simulator behind a "Ports" override.
#include <gtest/gtest.h>
#include <termios.h>

#include <cstring>
#include <future>

#include "device/Bytes.h"
#include "link/DeviceCommands.h"
#include "link/FrameCodec.h"
#include "link/PortSearch.h"
#include "tests/support/PtyPair.h"
#include "tests/support/ScriptedLine.h"
#include "tests/support/SimLink.h"

using namespace layout;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Frame(const Bytes& payload) {
    return FrameBytes(payload);
}

}  // namespace

TEST(PtyLine, EveryReceiveCodeFromARealByteStream) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto line = MakePlatformSerialLine({{{5, pty.slavePath()}}, false});
    SerialPort port(*line);
    ASSERT_TRUE(line->Open(5));
    line->Configure();
    Bytes buffer(64);

    // The tool's request reaches the device byte for byte.
    const std::uint8_t req = 13;
    ASSERT_TRUE(port.SendFrame(&req, 1));
    EXPECT_EQ(pty.ReadAvailable(), (Bytes{0x7E, 0x01, 0x00, 0x0D, 0x8C}));

    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 16, 50), rx::kNoStart);
    pty.Write({0x7E, 0x04});
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 16, 50), rx::kNoLength);
    pty.Write({0x7E, 0x20, 0x00, 9, 9});
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 16, 50), rx::kTooLong);
    pty.Write({0x7E, 0x05, 0x00, 1, 2});
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 16, 50), rx::kShort);
    Bytes bad = Frame({4, 5, 6});
    bad.back() = static_cast<std::uint8_t>(bad.back() + 1);
    pty.Write(bad);
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 16, 50), rx::kChecksum);

    // Noise before a frame is skipped, a zero-length frame is a length of 0, a frame with
    // 0x7E in its length and payload is taken whole.
    Bytes payload(0x7E, 0x7E);
    Bytes stream = {0x01, 0x02, 0x03};
    const Bytes empty = Frame({}), big = Frame(payload);
    stream.insert(stream.end(), empty.begin(), empty.end());
    stream.insert(stream.end(), big.begin(), big.end());
    pty.Write(stream);
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 16, 50), 0);
    Bytes large(200);
    EXPECT_EQ(port.ReceiveFrame(large.data(), 199, 50), 0x7E);

    // The device hangs up in the middle of a frame, while the tool waits for its body.
    pty.Write({0x7E, 0x08, 0x00});
    std::thread device([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pty.Hangup();
    });
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 16, 50), rx::kReadFailed);
    device.join();
    EXPECT_FALSE(port.SendFrame(&req, 1));
}

TEST(PtyLine, AbortWakesABlockedRead) {
    PtyPair pty;
    auto line = MakePlatformSerialLine({{{1, pty.slavePath()}}, false});
    ASSERT_TRUE(line->Open(1));
    line->SetTimeouts(StartPhaseTimeouts(60000));
    std::thread aborter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        line->Abort();
    });
    std::uint8_t byte;
    EXPECT_EQ(line->Read(&byte, 1), -1);
    aborter.join();
    EXPECT_FALSE(line->Write(&byte, 1));  // stays aborted until cleared
    line->ClearAbort();
    EXPECT_TRUE(line->Write(&byte, 1));
}

TEST(PtyLine, ConfigureSetsTheLineAndTheOpenIsExclusive) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    // Start from a line set as unlike the communicator's as a pseudo-terminal allows.
    termios before{};
    ASSERT_EQ(tcgetattr(pty.slaveFd(), &before), 0);
    cfsetispeed(&before, B9600);
    cfsetospeed(&before, B9600);
    before.c_cflag |= CSTOPB | CRTSCTS;
    before.c_iflag |= IXON | IXOFF | ICRNL | ISTRIP;
    before.c_oflag |= OPOST;
    before.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    before.c_cc[VMIN] = 1;
    ASSERT_EQ(tcsetattr(pty.slaveFd(), TCSANOW, &before), 0);

    const PortSettings ports{{{4, pty.slavePath()}}, false};
    auto line = MakePlatformSerialLine(ports);
    ASSERT_TRUE(line->Open(4));
    line->Configure();
    termios t{};
    ASSERT_EQ(tcgetattr(pty.slaveFd(), &t), 0);
    EXPECT_EQ(cfgetispeed(&t), speed_t{B115200});
    EXPECT_EQ(cfgetospeed(&t), speed_t{B115200});
    // A pseudo-terminal keeps 8 data bits without parity whatever it is told, so only a real
    // port could show those two wrong; the stop bits and the flow control show here.
    EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL), tcflag_t{CREAD | CLOCAL});
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | INPCK | ISTRIP | ICRNL | INLCR | IGNCR), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);

    // No sharing: a second open of the same device fails while the first holds it.
    auto other = MakePlatformSerialLine(ports);
    EXPECT_FALSE(other->Open(4));
    line->Close();
    EXPECT_TRUE(other->Open(4));
}

TEST(PtyLine, ASilentReadEndsAtItsBoundAndAWriteTheLineCannotTakeFails) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto line = MakePlatformSerialLine({{{2, pty.slavePath()}}, false});
    ASSERT_TRUE(line->Open(2));
    line->Configure();

    // One byte with a 50 ms start wait: 50 + 100 ms, then "nothing came", not a failure.
    line->SetTimeouts(StartPhaseTimeouts(50));
    auto read = std::async(std::launch::async, [&] {
        const auto started = SerialClock::now();
        std::uint8_t byte = 0;
        const int n = line->Read(&byte, 1);
        return std::make_pair(n, SerialClock::now() - started);
    });
    ASSERT_EQ(read.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    const auto [got, waited] = read.get();
    EXPECT_EQ(got, 0);
    EXPECT_GE(waited, std::chrono::milliseconds(150));  // never before its bound

    // The device reads nothing, so the line takes only part of a large frame: the write
    // fails at its time-out instead of passing for sent.
    line->SetTimeouts({0, 0, 0, 0, 50});
    SerialPort port(*line);
    const Bytes payload(20000, 0x55);
    EXPECT_EQ(port.SendFrame(payload.data(), payload.size()), 0);
    const std::size_t through = pty.ReadAvailable().size();
    EXPECT_GT(through, 0u);
    EXPECT_LT(through, payload.size() + frame::kOverhead);
}

TEST(Simulator, IdentifyFillsTheBuffersExactly) {
    SimLink link;
    ASSERT_TRUE(link.started) << link.error;
    const sim::Unit unit = link.simulator.Local();
    ASSERT_EQ(FindDevice(link.port, link.data), 3);
    const auto& d = link.data;
    EXPECT_EQ(0, std::memcmp(d.infoBlock.data(), unit.record.infoBlock.data(), kInfoBlockSize));
    const Bytes settings = sim::SettingsReply(unit);
    EXPECT_EQ(0, std::memcmp(d.identReply.data(), settings.data(), kIdentReplySize));
    EXPECT_EQ(0, std::memcmp(d.settingsBlock.data(), settings.data(), kSettingsCopySize));
    for (int n = 1; n <= kSlotCount; ++n)
        EXPECT_EQ(d.slotText(n), unit.record.slotText(n)) << "slot " << n;
    EXPECT_EQ(d.modelText(), "Qubrin QX-7 quad-band GSM/GPRS\r\nOK\r\n");
    EXPECT_EQ(d.versionByte(), 41);
    EXPECT_EQ(link.simulator.RequestCount(13), 1u);
}

TEST(Simulator, OlderUnitsAndWrongTableLengths) {
    SimLink link;
    ASSERT_TRUE(link.started) << link.error;
    link.simulator.AddFault({sim::FaultKind::WrongStringTableLength, sim::Phase::Any, 1});
    link.data.setSlotText(kSlotApnLogin, "before");
    ASSERT_EQ(FindDevice(link.port, link.data), 3);
    EXPECT_EQ(link.data.slotText(kSlotApnLogin), "before");  // texts kept, still identified

    link.simulator.AddFault({sim::FaultKind::Version40, sim::Phase::Any, 1});
    ASSERT_EQ(Identify(link.port, link.data), 0);
    EXPECT_EQ(link.data.versionByte(), 40);
    EXPECT_EQ(link.data.slotText(kSlotApnLogin), "internet.qubnet,alarm:s3cret");
    EXPECT_EQ(link.data.slot(kSlotEndPageText1)[0], kEndTextPlaceholder);
}

TEST(Simulator, FoundOnTheOverriddenPortOnlyAndCostsNothingElsewhere) {
    SimLink link(7);
    ASSERT_TRUE(link.started) << link.error;
    EXPECT_EQ(FindDevice(link.port, link.data), 7);
    EXPECT_TRUE(link.line->IsOpen());

    link.simulator.Unplug();
    link.port.Close();
    EXPECT_EQ(FindDevice(link.port, link.data), 0);
    EXPECT_FALSE(link.line->IsOpen());
    EXPECT_TRUE(link.simulator.Plug());
    EXPECT_EQ(FindDevice(link.port, link.data), 7);
}

TEST(Simulator, UploadIsKeptAndComesBackAtTheNextIdentification) {
    SimLink link;
    ASSERT_TRUE(link.started) << link.error;
    ASSERT_EQ(FindDevice(link.port, link.data), 3);
    auto& d = link.data;
    d.setSlotText(kSlotSmsNumber0 + 2, "4930555666");
    d.setReportFlag(kFlagDtmfInstalled, true);
    std::strcpy(d.newSimPin.data(), "2580");
    ImageBuffer work;
    BuildConfigurationImage(d, work, "New site text", "", 0x0407);
    ASSERT_EQ(SendConfiguration(link.port, d), 0);
    ASSERT_EQ(link.simulator.AcceptedUploads().size(), 1u);
    EXPECT_EQ(link.simulator.AcceptedUploads()[0],
              Bytes(d.uploadImage.begin(), d.uploadImage.begin() + d.uploadLength));
    EXPECT_EQ(link.simulator.Local().simPin, "2580");

    DeviceData again;
    ASSERT_EQ(Identify(link.port, again), 0);
    EXPECT_EQ(again.slotText(kSlotSmsNumber0 + 2), "4930555666");
    EXPECT_EQ(again.slotText(kSlotEndPageText1), "New site text");
    EXPECT_TRUE(again.reportFlag(kFlagDtmfInstalled));
    EXPECT_EQ(again.versionByte(), 41);  // the PIN did not overwrite the unit's own bytes
    EXPECT_EQ(SendDisconnect(link.port), 6);
}

TEST(Simulator, HangUpMidFrameEndsTheExchangeAndTheLineComesBack) {
    SimLink link;
    ASSERT_TRUE(link.started) << link.error;
    ASSERT_EQ(FindDevice(link.port, link.data), 3);
    link.simulator.AddFault({sim::FaultKind::HangUpMidFrame, sim::Phase::Events, 1});
    const int r = ReadEvents(link.port, link.data);
    EXPECT_EQ(r, exchange::kEventsFailed);
    link.port.Close();
    // The line is back after a moment; a new search finds it.
    int found = 0;
    for (int i = 0; i < 50 && !found; ++i) {
        found = FindDevice(link.port, link.data);
        if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(found, 3);
    EXPECT_GT(ReadEvents(link.port, link.data), 1000);
}

TEST(Simulator, TransportFaultsGiveTheirCodes) {
    SimLink link;
    ASSERT_TRUE(link.started) << link.error;
    ASSERT_EQ(FindDevice(link.port, link.data), 3);
    auto& s = link.simulator;
    s.AddFault({sim::FaultKind::Noise, sim::Phase::ModemInfo, 1});
    EXPECT_EQ(ReadModemInfo(link.port, link.data), 0);  // noise is skipped
    s.AddFault({sim::FaultKind::BadChecksum, sim::Phase::ModemInfo, 1});
    EXPECT_EQ(ReadModemInfo(link.port, link.data), exchange::kNoReply);
    s.AddFault({sim::FaultKind::ShortFrame, sim::Phase::Upload, 1});
    link.data.uploadLength = 1;
    link.data.uploadImage[0] = 100;
    EXPECT_EQ(SendConfiguration(link.port, link.data), exchange::kNoReply);
    s.AddFault({sim::FaultKind::Silent, sim::Phase::ModemInfo, 1});
    EXPECT_EQ(Identify(link.port, link.data), identify::kNoModemInfo);
    s.AddFault({sim::FaultKind::ShortCatalogue, sim::Phase::Events, 1});
    EXPECT_EQ(ReadEvents(link.port, link.data), 100);
    EXPECT_TRUE(s.AcceptedUploads().empty());  // a lone command byte is no configuration
}
