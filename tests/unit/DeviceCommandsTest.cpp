// The exchanges' result codes, on a scripted line: good replies, refusals, and every bad
// line (silent, garbage, short garbage, hang-up mid-frame).
#include <gtest/gtest.h>

#include <cstring>

#include "device/Bytes.h"
#include "device/DeviceData.h"
#include "device/EventCatalogue.h"
#include "link/DeviceCommands.h"
#include "link/FrameCodec.h"
#include "link/PortSearch.h"
#include "link/SerialPort.h"
#include "tests/support/ScriptedLine.h"

using namespace layout;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Frame(const Bytes& payload) {
    return FrameBytes(payload);
}

Bytes StringsReply(int texts) {
    Bytes reply;
    for (int n = 1; n <= texts; ++n) {
        const std::string t = std::to_string(n);
        reply.push_back('s');
        reply.insert(reply.end(), t.begin(), t.end());
        reply.push_back(0);
    }
    return reply;
}

struct Exchange : ::testing::Test {
    ScriptedLine line;
    SerialPort port{line};
    DeviceData data;

    void SetUp() override {
        line.presentPort = 1;
        line.Open(1);
    }
    // Queues the three replies of an identification.
    void QueueIdentity(std::uint8_t version, const Bytes& strings, std::uint32_t announced) {
        Bytes info(kInfoBlockSize, 0);
        info[0] = '1';
        line.QueueFrame(info);
        Bytes settings(kIdentReplySize, 0);
        WriteLE32(&settings[kIdentStringTableLength], announced);
        settings[kIdentVersionByte] = version;
        settings[12] = 0x0F;
        settings[410] = 0x55;  // beyond the copied 400 bytes
        line.QueueFrame(settings);
        line.QueueFrame(strings);
    }
};

}  // namespace

TEST_F(Exchange, FrameBytesOnTheWire) {
    const std::uint8_t disconnect = 13;
    ASSERT_TRUE(port.SendFrame(&disconnect, 1));
    EXPECT_EQ(line.writes.back(), (Bytes{0x7E, 0x01, 0x00, 0x0D, 0x8C}));
    ASSERT_TRUE(port.SendFrame(nullptr, 0));
    EXPECT_EQ(line.writes.back(), (Bytes{0x7E, 0x00, 0x00, 0x7E}));

    // 300 bytes of 0x01: the high length byte counts, 0x7E + 0x2C + 0x01 + 300 = 0x1D7.
    const Bytes payload(300, 0x01);
    Bytes wire = {0x7E, 0x2C, 0x01};
    wire.insert(wire.end(), payload.begin(), payload.end());
    wire.push_back(0xD7);
    ASSERT_TRUE(port.SendFrame(payload.data(), payload.size()));
    EXPECT_EQ(line.writes.back(), wire);
    line.Queue(wire);
    Bytes buffer(payload.size() + 1);
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), payload.size(), 200), 300);
}

TEST_F(Exchange, FrameWithStartBytesInsideRoundTrips) {
    // Length 126 = 0x7E, payload full of 0x7E: no escaping, found all the same.
    Bytes payload(126, 0x7E);
    payload[3] = 0x00;
    line.Queue({0x11, 0x22});  // noise first
    line.QueueFrame(payload);
    Bytes buffer(200);
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 199, 200), 126);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 126), payload);
    const auto& sent = Frame(payload);
    EXPECT_EQ(sent[1], 0x7E);
}

TEST_F(Exchange, ReceiveCodesOnScriptedBytes) {
    Bytes buffer(16);
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 8, 200), rx::kNoStart);
    line.Queue({0x7E, 0x05});
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 8, 200), rx::kNoLength);
    line.Queue({0x7E, 0x09, 0x00, 1, 2, 3});
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 8, 200), rx::kTooLong);
    // The rest of that frame stays for the next receive, which hunts for a start byte in it.
    line.incoming.clear();
    line.Queue({0x7E, 0x03, 0x00, 1, 2});
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 8, 200), rx::kShort);
    Bytes bad = Frame({1, 2, 3});
    ++bad.back();
    line.Queue(bad);
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 8, 200), rx::kChecksum);
    EXPECT_EQ(buffer[0], 1);  // the payload was written all the same
    line.Queue({0x7E, 0x03, 0x00, 1});
    line.hangUpWhenEmpty = true;
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 8, 200), rx::kReadFailed);
}

TEST_F(Exchange, ReplyOfExactlyMaxLengthPutsChecksumBehindIt) {
    line.QueueFrame(Bytes(8, 0x42));
    Bytes buffer(9, 0);
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 8, 200), 8);
    EXPECT_EQ(buffer[8], frame::Checksum(buffer.data(), 8));
}

TEST_F(Exchange, EndlessNoiseEndsLikeSilence) {
    line.Queue(Bytes(SerialPort::kMaxSkippedBytes + 10, 0x55));
    Bytes buffer(8);
    EXPECT_EQ(port.ReceiveFrame(buffer.data(), 4, 200), rx::kNoStart);
}

TEST_F(Exchange, IdentifyFillsEveryBuffer) {
    const Bytes strings = StringsReply(41);
    QueueIdentity(41, strings, static_cast<std::uint32_t>(strings.size()));
    ASSERT_EQ(Identify(port, data), 0);
    EXPECT_EQ(line.writes.size(), 3u);
    EXPECT_EQ(line.writes[0][3], 13);
    EXPECT_EQ(line.writes[1][3], 11);
    EXPECT_EQ(line.writes[2][3], 10);
    EXPECT_EQ(data.infoBlock[0], '1');
    EXPECT_EQ(data.identReply[410], 0x55);
    EXPECT_EQ(data.reportFlags(), 0x0Fu);
    EXPECT_EQ(data.settingsBlock[399], data.identReply[399]);
    EXPECT_EQ(data.slotText(kSlotEndPageText2), "s41");
}

TEST_F(Exchange, IdentifyKeepsTextsOnWrongLengthAndMarksOldVersions) {
    data.setSlotText(1, "earlier");
    const Bytes strings = StringsReply(41);
    QueueIdentity(41, strings, static_cast<std::uint32_t>(strings.size() + 1));
    EXPECT_EQ(Identify(port, data), 0);
    EXPECT_EQ(data.slotText(1), "earlier");

    const Bytes old = StringsReply(39);
    QueueIdentity(40, old, static_cast<std::uint32_t>(old.size()));
    EXPECT_EQ(Identify(port, data), 0);
    EXPECT_EQ(data.slotText(1), "s1");
    EXPECT_EQ(data.slot(kSlotEndPageText1)[0], kEndTextPlaceholder);
    EXPECT_EQ(data.slotText(kSlotEndPageText2), "\x07");

    QueueIdentity(41, {0}, 1);  // a one-byte table is no table
    data.setSlotText(1, "kept");
    EXPECT_EQ(Identify(port, data), 0);
    EXPECT_EQ(data.slotText(1), "kept");
}

TEST_F(Exchange, IdentifyFailureCodes) {
    EXPECT_EQ(Identify(port, data), identify::kNoModemInfo);
    line.QueueFrame(Bytes(kInfoBlockSize - 1, 0));
    EXPECT_EQ(Identify(port, data), identify::kNoModemInfo);
    line.QueueFrame(Bytes(kInfoBlockSize, 0));
    EXPECT_EQ(Identify(port, data), identify::kNoSettings);
    line.failWrites = true;
    EXPECT_EQ(Identify(port, data), identify::kModemInfoNotSent);
    // The settings request fails to go out after good modem information.
    line.failWrites = false;
    line.onWrite = [&](const Bytes& w) {
        if (w[3] == 13) line.QueueFrame(Bytes(kInfoBlockSize, 0));
        line.failWrites = true;  // the next request does not go out
    };
    EXPECT_EQ(Identify(port, data), identify::kSettingsNotSent);
    line.failWrites = false;
    line.onWrite = [&](const Bytes& w) {
        if (w[3] == 13) line.QueueFrame(Bytes(kInfoBlockSize, 0));
        if (w[3] == 11) {
            line.QueueFrame(Bytes(kIdentReplySize, 0));
            line.failWrites = true;
        }
    };
    EXPECT_EQ(Identify(port, data), identify::kStringsNotSent);
}

// The read after an upload asks for settings and texts alone, and takes no text table of
// another length than announced, which the identification lets pass.
TEST_F(Exchange, ReadBackNeedsTheSettingsAndTheWholeTextTable) {
    const Bytes strings = StringsReply(41);
    auto queue = [&](std::uint32_t announced, bool texts) {
        Bytes settings(kIdentReplySize, 0);
        WriteLE32(&settings[kIdentStringTableLength], announced);
        settings[kIdentVersionByte] = 41;
        settings[12] = 0x0F;
        line.QueueFrame(settings);
        if (texts) line.QueueFrame(strings);
    };
    const auto length = static_cast<std::uint32_t>(strings.size());
    queue(length, true);
    ASSERT_EQ(ReadBack(port, data), 0);
    ASSERT_EQ(line.writes.size(), 2u);
    EXPECT_EQ(line.writes[0][3], 11);
    EXPECT_EQ(line.writes[1][3], 10);
    EXPECT_EQ(data.reportFlags(), 0x0Fu);
    EXPECT_EQ(data.slotText(kSlotEndPageText2), "s41");

    queue(length + 1, true);
    EXPECT_EQ(ReadBack(port, data), readback::kNoStrings);
    queue(length, false);
    EXPECT_EQ(ReadBack(port, data), readback::kNoStrings);
    EXPECT_EQ(ReadBack(port, data), identify::kNoSettings);
    line.failWrites = true;
    EXPECT_EQ(ReadBack(port, data), identify::kSettingsNotSent);
}

TEST_F(Exchange, ModemInfoNeedsExactly108Bytes) {
    line.QueueFrame(Bytes(107, 0));
    EXPECT_EQ(ReadModemInfo(port, data), exchange::kNoReply);
    line.QueueFrame(Bytes(108, 0));
    EXPECT_EQ(ReadModemInfo(port, data), 0);
}

TEST_F(Exchange, EventsNeedAtLeast100BytesAndCarryTheLanguage) {
    data.setLanguageCode(0x0407);
    line.QueueFrame(Bytes(99, 'a'));
    EXPECT_EQ(ReadEvents(port, data), exchange::kEventsFailed);
    EXPECT_EQ(line.writes.back(), Frame({12, 0x07, 0x04}));
    line.QueueFrame(Bytes(100, 'a'));
    EXPECT_EQ(ReadEvents(port, data), 100);
    line.QueueFrame(Bytes(kEventCatalogueSize + 1, 'a'));
    EXPECT_EQ(ReadEvents(port, data), exchange::kEventsFailed);

    // A short catalogue after a long one lists only its own names: nothing of the long one,
    // and no name made of the short one's checksum byte.
    const auto catalogue = [](int count, const std::string& stem) {
        std::string names;
        for (int e = 0; e < count; ++e) names += stem + std::to_string(100 + e) + '\0';
        return Bytes(names.begin(), names.end());
    };
    line.QueueFrame(catalogue(kEventCount, "long event "));
    ASSERT_GT(ReadEvents(port, data), 0);
    line.QueueFrame(catalogue(10, "short "));
    ASSERT_EQ(ReadEvents(port, data), 100);
    const EventNames names = CatalogueNames(data.eventCatalogue.data(), kEventCatalogueSize);
    EXPECT_EQ(names[9], "short 109");
    for (std::size_t e = 10; e < names.size(); ++e) EXPECT_EQ(names[e], "") << e;
    line.failWrites = true;
    EXPECT_EQ(ReadEvents(port, data), exchange::kNotSent);
}

TEST_F(Exchange, UploadAcknowledgements) {
    data.uploadImage[0] = 100;
    data.uploadLength = 3;
    line.QueueFrame({6});
    EXPECT_EQ(SendConfiguration(port, data), 0);
    EXPECT_EQ(line.writes.back().size(), 7u);
    line.QueueFrame({21});
    EXPECT_EQ(SendConfiguration(port, data), exchange::kRefused);
    line.QueueFrame({6, 6});
    EXPECT_EQ(SendConfiguration(port, data), exchange::kNoReply);
    EXPECT_EQ(SendConfiguration(port, data), exchange::kNoReply);  // silence
    line.failWrites = true;
    EXPECT_EQ(SendConfiguration(port, data), exchange::kNotSent);
}

TEST_F(Exchange, OneByteExchanges) {
    data.uploadLength = 1;
    line.QueueFrame({8});
    EXPECT_EQ(SendDialRequest(port, data), 8);
    line.QueueFrame({9});
    EXPECT_EQ(SendDialRequest(port, data), 0);
    line.QueueFrame({0xF0});
    EXPECT_EQ(SendDisconnect(port), -16);  // passed on as a signed byte
    line.QueueFrame({16});
    EXPECT_EQ(WaitStatus(port), 16);
    EXPECT_TRUE(line.writes.back() == Frame({15}));  // the status wait sends nothing
    EXPECT_EQ(WaitStatus(port), 0);
    line.QueueFrame({1, 2});
    EXPECT_EQ(WaitStatus(port), 0);
    EXPECT_TRUE(SendCommand17(port));
    EXPECT_EQ(line.writes.back(), Frame({17}));
    EXPECT_TRUE(SendCommand18(port));
    EXPECT_EQ(line.writes.back(), Frame({18}));
    line.failWrites = true;
    EXPECT_EQ(SendDisconnect(port), 0);
    EXPECT_EQ(SendDialRequest(port, data), 0);
    EXPECT_FALSE(SendCommand17(port));
}

TEST_F(Exchange, EveryExchangeEndsOnEveryBadLine) {
    const std::vector<Bytes> badLines = {
        {},                           // silent
        Bytes(300, 0x33),             // garbage
        {0x7E},                       // short garbage
        {0x7E, 0x6C, 0x00, 1, 2, 3},  // a frame cut short
    };
    for (const auto& bytes : badLines) {
        for (bool hangUp : {false, true}) {
            auto reset = [&] {
                line.incoming.clear();
                line.Queue(bytes);
                line.hangUpWhenEmpty = hangUp;
            };
            reset();
            EXPECT_LT(ReadModemInfo(port, data), 0);
            reset();
            EXPECT_LT(Identify(port, data), 0);
            reset();
            EXPECT_LT(ReadBack(port, data), 0);
            reset();
            EXPECT_EQ(ReadEvents(port, data), exchange::kEventsFailed);
            reset();
            EXPECT_LT(SendConfiguration(port, data), 0);
            reset();
            EXPECT_EQ(SendDialRequest(port, data), 0);
            reset();
            EXPECT_EQ(SendDisconnect(port), 0);
            reset();
            EXPECT_EQ(WaitStatus(port), 0);
        }
    }
}

TEST(FindDevice, TriesEveryPortAndKeepsTheOneThatAnswers) {
    ScriptedLine line;
    SerialPort port(line);
    DeviceData data;
    line.presentPort = 7;
    line.onWrite = [&](const Bytes& w) {
        if (w[3] == 13) line.QueueFrame(Bytes(kInfoBlockSize, 0));
        if (w[3] == 11) line.QueueFrame(Bytes(kIdentReplySize, 0));
        if (w[3] == 10) line.QueueFrame({0});
    };
    EXPECT_EQ(FindDevice(port, data), 7);
    EXPECT_EQ(port.comNumber(), 7);
    EXPECT_TRUE(line.IsOpen());
    EXPECT_EQ(line.openAttempts, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    // Ports that do not exist cost no read at all.
    EXPECT_EQ(line.readCalls, 3u * 3);  // start byte, length, body of three replies

    line.presentPort = 0;
    line.openAttempts.clear();
    EXPECT_EQ(FindDevice(port, data), 0);
    EXPECT_EQ(line.openAttempts.size(), 19u);
    EXPECT_FALSE(line.IsOpen());
    EXPECT_EQ(port.comNumber(), 7);  // only a successful search writes it

    // Above COM19 only the ports the system lists are tried, after the first nineteen.
    line.presentPort = 23;
    line.furtherPorts = {21, 23, 40};
    line.openAttempts.clear();
    EXPECT_EQ(FindDevice(port, data), 23);
    EXPECT_EQ(port.comNumber(), 23);
    EXPECT_EQ(line.openAttempts.size(), 21u);
    EXPECT_EQ(line.openAttempts.back(), 23);
    EXPECT_EQ(line.openAttempts[19], 21);
    line.furtherPorts.clear();

    // A port that opens but has no communicator behind it is closed again.
    line.presentPort = 3;
    line.onWrite = nullptr;
    EXPECT_EQ(FindDevice(port, data), 0);
    EXPECT_FALSE(line.IsOpen());
}
