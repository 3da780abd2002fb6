#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "device/Bytes.h"
#include "device/DeviceData.h"
#include "device/EventCatalogue.h"

using namespace layout;

namespace {

std::uint32_t ImageU32(const DeviceData& d, std::size_t offset) {
    return ReadLE32(&d.uploadImage[offset]);
}

}  // namespace

TEST(ConfigurationImage, EmptyRecordOfVersion40) {
    DeviceData d;
    d.identReply[kIdentVersionByte] = 40;
    ImageBuffer work;
    BuildConfigurationImage(d, work, "ignored", "ignored", 0x0407);

    EXPECT_EQ(d.uploadLength, 444);
    EXPECT_EQ(d.uploadImage[0], 100);
    EXPECT_EQ(ImageU32(d, 1), 404u);  // blockLength, in the image and in the record
    EXPECT_EQ(d.blockLength(), 404u);
    EXPECT_EQ(ImageU32(d, 5), 40u);  // text section + 1
    for (std::size_t i = kImageTexts; i < 444; ++i) EXPECT_EQ(d.uploadImage[i], 0) << i;
    // The end-page texts stay out of the record below version 41.
    EXPECT_EQ(d.slotText(kSlotEndPageText1), "");
    // The language code takes effect for later requests only.
    EXPECT_EQ(ReadLE16(&d.uploadImage[1 + kLanguageCode]), 0);
    EXPECT_EQ(d.languageCode(), 0x0407);
}

TEST(ConfigurationImage, KeepsReceivedLengthsInTheRecordButNotInTheImage) {
    DeviceData d;
    d.identReply[kIdentVersionByte] = 40;
    WriteLE32(&d.settingsBlock[kStringTableLength], 777);
    WriteLE32(&d.settingsBlock[kReserved08], 0xDEADBEEF);
    d.setSlotText(kSlotApnLogin, "apn");
    ImageBuffer work;
    BuildConfigurationImage(d, work, "", "", 0);
    EXPECT_EQ(ImageU32(d, 5), 444u + 3 - 404);
    EXPECT_EQ(ImageU32(d, 9), 0u);
    EXPECT_EQ(d.stringTableLength(), 777u);
    EXPECT_EQ(d.reserved08(), 0xDEADBEEFu);
}

TEST(ConfigurationImage, NewPinTakesBytes393To401) {
    DeviceData d;
    d.identReply[kIdentVersionByte] = 41;
    std::memset(&d.settingsBlock[393], 0xAA, 11);
    std::strcpy(d.newSimPin.data(), "4321");
    ImageBuffer work;
    BuildConfigurationImage(d, work, "", "", 0);
    const std::uint8_t expected[] = {'4', '3', '2', '1', 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&d.uploadImage[1 + 393], expected, sizeof expected), 0);
    EXPECT_EQ(d.uploadImage[1 + 402], 0xAA);  // beyond the PIN nothing moves

    // Without a PIN the received bytes travel unchanged.
    DeviceData plain;
    plain.settingsBlock[393] = 41;
    plain.settingsBlock[399] = 0x5C;
    BuildConfigurationImage(plain, work, "", "", 0);
    EXPECT_EQ(plain.uploadImage[1 + 393], 41);
    EXPECT_EQ(plain.uploadImage[1 + 399], 0x5C);
}

TEST(ConfigurationImage, EndPageTextsOnlyForVersionExactly41) {
    for (int version : {40, 41, 42}) {
        DeviceData d;
        d.identReply[kIdentVersionByte] = static_cast<std::uint8_t>(version);
        d.setSlotText(kSlotEndPageText1, "from device");
        ImageBuffer work;
        BuildConfigurationImage(d, work, "site A", "gate", 0);
        const std::size_t base = 1 + 404 + 39;
        if (version == 41) {
            ASSERT_EQ(d.uploadLength, base + 7 + 5);
            EXPECT_EQ(std::string(reinterpret_cast<char*>(&d.uploadImage[base])), "site A");
            EXPECT_EQ(std::string(reinterpret_cast<char*>(&d.uploadImage[base + 7])), "gate");
            EXPECT_EQ(d.slotText(kSlotEndPageText1), "site A");
        } else {
            EXPECT_EQ(d.uploadLength, base) << version;
            EXPECT_EQ(d.slotText(kSlotEndPageText1), "from device");
        }
    }
}

TEST(ConfigurationImage, FullTableGivesLargestImageAndLongEndTextsAreCut) {
    DeviceData d;
    d.identReply[kIdentVersionByte] = 41;
    for (int n = 1; n <= kSlotsAlwaysSent; ++n)
        ASSERT_TRUE(d.setSlotText(n, std::string(kSlots[n - 1].size - 1, 'x')));
    ImageBuffer work;
    BuildConfigurationImage(d, work, std::string(86, 'a'), std::string(69, 'b'), 0);
    EXPECT_EQ(d.uploadLength, 1413);
    EXPECT_EQ(d.slotText(kSlotEndPageText1), std::string(69, 'a'));
    EXPECT_EQ(ImageU32(d, 5), 1413u - 404);
}

TEST(DialRequest, BytesCutsAndReadBack) {
    DeviceData d;
    d.uploadImage.fill(0xEE);
    BuildDialRequest(d, "0049301", "pw", 3);
    const std::uint8_t expected[] = {20, '0', '0', '4', '9', '3', '0', '1', 0, 'p', 'w', 0, ',', 3};
    ASSERT_EQ(d.uploadLength, sizeof expected);
    EXPECT_EQ(std::memcmp(d.uploadImage.data(), expected, sizeof expected), 0);
    const DialRequest read = ParseDialRequest(d.uploadImage.data(), d.uploadLength);
    EXPECT_EQ(read.number, "0049301");
    EXPECT_EQ(read.password, "pw");

    BuildDialRequest(d, std::string(200, '5'), std::string(20, 'x'), 0);
    EXPECT_EQ(d.uploadLength, 1 + 127 + 1 + 15 + 1 + 2);
    EXPECT_EQ(ParseDialRequest(d.uploadImage.data(), d.uploadLength).password,
              std::string(15, 'x'));
    // A request cut short reads what it holds and no further.
    EXPECT_EQ(ParseDialRequest(d.uploadImage.data(), 4).number, "555");
    EXPECT_EQ(ParseDialRequest(d.uploadImage.data(), 0).number, "");
}

TEST(Catalogue, ReadsStayInsideTheBuffer) {
    std::vector<std::uint8_t> bytes = {0x00, 'A', 0x00};
    EventNames names = CatalogueNames(bytes.data(), bytes.size());
    EXPECT_EQ(names[0], "");
    EXPECT_EQ(names[1], "A");
    EXPECT_EQ(names[2], "");

    // No terminator at all, and names longer than 69 characters.
    std::vector<std::uint8_t> garbage(kEventCatalogueSize, 'g');
    names = CatalogueNames(garbage.data(), garbage.size());
    EXPECT_EQ(names[0], std::string(69, 'g'));
    EXPECT_EQ(names[1], "");
    std::string two = std::string(100, 'x') + '\0' + "second";
    names = CatalogueNames(reinterpret_cast<const std::uint8_t*>(two.data()), two.size());
    EXPECT_EQ(names[1], "second");

    // The rewrite cuts every name to 69 characters and fits whatever the names hold.
    for (auto& name : names) name = std::string(500, 'n');
    std::vector<std::uint8_t> out(kEventCatalogueSize, 0xEE);
    EXPECT_EQ(WriteCatalogue(out.data(), out.size(), names), 152u * 70);
    EXPECT_EQ(out[69], 0);
    EXPECT_EQ(out[152 * 70], 0xEE);  // bytes behind it untouched
}

TEST(EventMask, BitOrder) {
    std::uint8_t bytes[kEventMaskSize] = {};
    EventMask mask(bytes, kEventMaskSize);
    EventMaskSet(mask, 19, true);
    EXPECT_EQ(bytes[2], 0x08);
    EXPECT_TRUE(EventMaskTest(mask, 19));
    EXPECT_FALSE(EventMaskTest(mask, 18));
    EventMaskSet(mask, 151, true);
    EXPECT_EQ(bytes[18], 0x80);
    EventMaskSet(mask, 19, false);
    EXPECT_EQ(bytes[2], 0);
    EventMaskSet(mask, 160, true);  // outside the mask: ignored
    EventMaskSet(mask, -1, true);
    EXPECT_FALSE(EventMaskTest(mask, 160));
}

TEST(Fields, LittleEndianAndBounded) {
    DeviceData d;
    d.setReportFlags(0x40002004);
    EXPECT_EQ(d.settingsBlock[12], 0x04);
    EXPECT_EQ(d.settingsBlock[15], 0x40);
    d.setReportFlag(0x2000, false);
    EXPECT_EQ(d.reportFlags(), 0x40000004u);
    d.setCusdValue(65535);
    EXPECT_EQ(d.settingsBlock[22], 0xFF);
    StorePadded(d.account(AccountTable::Ip, 3).data(), 4, "ab");
    EXPECT_EQ(d.settingsBlock[kIpAccounts + 12], 'a');
    EXPECT_EQ(d.settingsBlock[kIpAccounts + 14], 0);
    EXPECT_EQ(d.accountText(AccountTable::Ip, 3), "ab");
    StorePadded(d.account(AccountTable::Ip, 2).data(), 4, "abcd");
    EXPECT_EQ(d.accountText(AccountTable::Ip, 2), "abcd");  // no terminator, still bounded

    // Texts of the modem block never run past their field, terminated or not.
    std::memset(d.infoBlock.data(), 'Z', kInfoBlockSize);
    EXPECT_EQ(d.operatorName(), std::string(20, 'Z'));
    EXPECT_EQ(d.modelText().size(), 48u);
    EXPECT_EQ(d.idText().size(), 24u);
    EXPECT_EQ(d.firmwareText().size(), 8u);
    WriteLE32(&d.infoBlock[kInfoLastError], static_cast<std::uint32_t>(-1));
    EXPECT_EQ(d.lastError(), -1);

    EXPECT_FALSE(d.setSlotText(kSlotSmsNumber0, std::string(16, '1')));
    EXPECT_TRUE(d.setSlotText(kSlotSmsNumber0, std::string(15, '1')));
}

TEST(StringTable, UnpacksInSlotOrderWithVersionRules) {
    std::string reply;
    for (int n = 1; n <= 41; ++n) {
        reply += 't';
        reply += std::to_string(n);
        reply += '\0';
    }
    DeviceData d;
    d.identReply[kIdentVersionByte] = 41;
    UnpackStringTable(d, reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size());
    EXPECT_EQ(d.slotText(1), "t1");
    EXPECT_EQ(d.slotText(kSlotUserCode), "t38");
    EXPECT_EQ(d.slotText(kSlotEndPageText2), "t41");

    DeviceData old;
    old.identReply[kIdentVersionByte] = 40;
    old.setSlotText(kSlotEndPageText2, "Hello");
    UnpackStringTable(old, reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size());
    EXPECT_EQ(old.slotText(kSlotSpareText), "t39");
    EXPECT_EQ(old.slotText(kSlotEndPageText1), "\x07");
    EXPECT_EQ(old.slotText(kSlotEndPageText2),
              "\x07"
              "ello");
}

TEST(StringTable, HostileRepliesStayInsideTheirBounds) {
    DeviceData d;
    d.identReply[kIdentVersionByte] = 41;
    // A number far too long for its slot: cut, terminated, and the next text still lands.
    std::string reply = std::string(128, 'a') + '\0';
    for (int n = 2; n <= 5; ++n) reply += std::string('\0', 0) + "ip" + '\0';
    reply += std::string(40, '9') + '\0' + "next" + '\0';
    UnpackStringTable(d, reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size());
    EXPECT_EQ(d.slotText(1), std::string(127, 'a'));
    EXPECT_EQ(d.slotText(6), std::string(15, '9'));
    EXPECT_EQ(d.slotText(7), "next");
    EXPECT_EQ(d.slotText(8), "");  // the reply had nothing more

    // A supervisor code fills its ten bytes without a terminator and survives the trip.
    std::string codes;
    for (int n = 1; n < kSlotSupervisorCode0; ++n) codes += '\0';
    codes += std::string("0123456789ABC") + '\0' + "9876543210" + '\0';
    DeviceData s;
    s.identReply[kIdentVersionByte] = 41;
    UnpackStringTable(s, reinterpret_cast<const std::uint8_t*>(codes.data()), codes.size());
    EXPECT_EQ(s.slotText(kSlotSupervisorCode0), "0123456789");
    EXPECT_EQ(s.slotText(kSlotSupervisorCode0 + 1), "9876543210");

    // No terminator anywhere: one text, cut to its slot; the rest empty.
    DeviceData e;
    e.identReply[kIdentVersionByte] = 41;
    e.setSlotText(20, "old");
    const std::string garbage(3000, 'g');
    UnpackStringTable(e, reinterpret_cast<const std::uint8_t*>(garbage.data()), garbage.size());
    EXPECT_EQ(e.slotText(1), std::string(127, 'g'));
    EXPECT_EQ(e.slotText(20), "");
    for (int n = 1; n <= kSlotCount; ++n) {
        const auto slot = e.slot(n);
        EXPECT_NE(std::find(slot.begin(), slot.end(), 0), slot.end()) << "slot " << n;
    }
}
