// The named-field table held against the record's byte layout, and the values it refuses.
#include <gtest/gtest.h>

#include <bitset>
#include <memory>
#include <string>
#include <tuple>

#include "device/DeviceData.h"
#include "device/Fields.h"
#include "device/Verify.h"

using namespace layout;

namespace {

// One bit per bit of the settings record, one per byte of the text table.
struct Coverage {
    std::bitset<kSettingsBlockSize * 8> settings;
    std::bitset<kStringTableSize> texts;
};

// The bits a field's mask covers in its little-endian bytes (all bits without a mask).
void MarkSettings(std::bitset<kSettingsBlockSize * 8>& bits, std::size_t at, std::size_t size,
                  std::uint32_t mask) {
    for (std::size_t byte = 0; byte < size; ++byte)
        for (std::size_t bit = 0; bit < 8; ++bit)
            if (mask == 0 || ((mask >> (8 * byte + bit)) & 1u)) bits.set((at + byte) * 8 + bit);
}

void MarkSlot(std::bitset<kStringTableSize>& bytes, int slot) {
    const SlotInfo s = kSlots[static_cast<std::size_t>(slot - 1)];
    for (std::size_t i = 0; i < s.size; ++i) bytes.set(s.offset + i);
}

Coverage Expected() {
    Coverage c;
    constexpr std::uint32_t kEdited = kFlagsInstalledMask | kFlagDtmfPstn | kFlagCidSmsPstn |
                                      kFlagSmsPstn | kFlagIpPstn | kFlagDtmfOption | kFlagAnd |
                                      kFlagSmsOption | kFlagIpOption | kFlagCidSmsOption |
                                      kFlagDtmfVariant | kFlagPrimary;
    MarkSettings(c.settings, kReportFlags, 4, kEdited);
    MarkSettings(c.settings, kTamperEventFlags, 1,
                 kTamperTcpError | kTamperGsmError | kTamperSystemError);
    MarkSettings(c.settings, kCusdValue, 2, 0);
    for (std::size_t masks : {kSmsEventMasks, kCidSmsEventMasks, kIpEventMasks, kDtmfEventMasks})
        MarkSettings(c.settings, masks, kMasksPerTable * kEventMaskSize, 0);
    for (std::size_t accounts : {kDtmfAccounts, kIpAccounts, kCidSmsAccounts})
        MarkSettings(c.settings, accounts, kAccountsPerTable * kAccountSize, 0);
    MarkSettings(c.settings, kPhoneBookFlags, 1, kScenarioMask | kSupervisorOption);
    for (int slot = 1; slot <= kSlotCount; ++slot)
        if (slot != kSlotSpareText) MarkSlot(c.texts, slot);
    return c;
}

}  // namespace

TEST(Fields, TableCoversWhatThePagesEditWithoutOverlapOrOverrun) {
    Coverage covered;
    int apnParts = 0;
    for (const fields::Field& f : fields::NamedFields()) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(fields::FindField(f.name), &f) << "names are unique";
        switch (f.place) {
            case fields::Place::Settings: {
                ASSERT_LE(f.at + f.size, kSettingsBlockSize);
                EXPECT_LE(f.mask, f.size >= 4 ? 0xFFFFFFFFu : (1u << (8 * f.size)) - 1);
                Coverage one;
                MarkSettings(one.settings, f.at, f.size, f.mask);
                EXPECT_TRUE((covered.settings & one.settings).none()) << "overlaps";
                covered.settings |= one.settings;
                break;
            }
            case fields::Place::Slot: {
                ASSERT_GE(f.at, 1u);
                ASSERT_LE(f.at, std::size_t(kSlotCount));
                EXPECT_LE(f.size, kSlots[f.at - 1].size);
                Coverage one;
                MarkSlot(one.texts, static_cast<int>(f.at));
                EXPECT_TRUE((covered.texts & one.texts).none()) << "overlaps";
                covered.texts |= one.texts;
                break;
            }
            case fields::Place::ApnPart:
                // The three parts share the login's slot, split by its separators.
                if (apnParts++ == 0) MarkSlot(covered.texts, kSlotApnLogin);
                EXPECT_EQ(f.size, kApnLoginSize);
                break;
            case fields::Place::ImagePin:
            case fields::Place::DialPassword:
                EXPECT_FALSE(fields::InRecord(f));
                EXPECT_TRUE(f.secret);
                break;
        }
    }
    EXPECT_EQ(apnParts, 3);
    // A numbered group's members take the group's language section; the end page's two texts
    // are fields of their own.
    for (const auto& [name, section, ordinal] :
         {std::tuple{"sms.number.3", "811", 3}, std::tuple{"ip.destination.1", "812", 1},
          std::tuple{"supervisor.code.4", "", 4}, std::tuple{"end.text.2", "1003", 0}}) {
        const fields::Field* f = fields::FindField(name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f->section, section) << name;
        EXPECT_EQ(fields::Ordinal(*f), ordinal) << name;
    }
    const Coverage expected = Expected();
    EXPECT_EQ(covered.settings, expected.settings);
    EXPECT_EQ(covered.texts, expected.texts);
}

TEST(Fields, SetFieldValueRefusesWhatDoesNotFitAndNeverCuts) {
    const struct {
        const char* field;
        std::string value;
        fields::SetResult result;
    } cases[] = {
        {"dtmf.number.1", std::string(15, '1'), fields::SetResult::Done},
        {"dtmf.number.1", std::string(16, '1'), fields::SetResult::TooLong},
        {"ip.destination.4", std::string(64, 'h'), fields::SetResult::TooLong},
        {"supervisor.code.1", std::string(10, '9'), fields::SetResult::Done},
        {"supervisor.code.1", std::string(11, '9'), fields::SetResult::TooLong},
        {"supervisor.user_code", std::string(11, '7'), fields::SetResult::TooLong},
        {"end.text.1", std::string(70, 'e'), fields::SetResult::TooLong},
        {"dtmf.account.2", "12345", fields::SetResult::TooLong},
        {"dtmf.account.2",
         std::string("1\0"
                     "2",
                     3),
         fields::SetResult::Malformed},
        {"end.cusd", "65535", fields::SetResult::Done},
        {"end.cusd", "65536", fields::SetResult::TooLong},
        {"end.cusd", "12a", fields::SetResult::Malformed},
        {"end.cusd", "-1", fields::SetResult::Malformed},
        {"end.cusd", "", fields::SetResult::Malformed},
        {"supervisor.scenario", "3", fields::SetResult::Done},
        {"supervisor.scenario", "4", fields::SetResult::TooLong},
        {"communication.dtmf", "2", fields::SetResult::Malformed},
        {"communication.dtmf", "yes", fields::SetResult::Malformed},
        {"sms.events.3", "1 151", fields::SetResult::Done},
        {"sms.events.3", "1 160", fields::SetResult::Malformed},
        {"sms.events.3", "1  2", fields::SetResult::Malformed},
        {"sms.events.3", "x", fields::SetResult::Malformed},
        {"gprs.password", "secret", fields::SetResult::Malformed},  // no user to stand behind
        {"gprs.access_point", "a,b", fields::SetResult::Malformed},
        {"gprs.access_point", std::string(128, 'a'), fields::SetResult::TooLong},
        {"sim.pin", "1234", fields::SetResult::Malformed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.value);
        const fields::Field* f = fields::FindField(c.field);
        ASSERT_NE(f, nullptr);
        auto data = std::make_unique<DeviceData>();
        data->setSlotText(kSlotApnLogin, "internet");
        data->setCusdValue(77);
        auto before = std::make_unique<DeviceData>(*data);
        EXPECT_EQ(fields::SetFieldValue(*data, *f, c.value), c.result);
        if (c.result == fields::SetResult::Done) {
            EXPECT_EQ(fields::FieldValue(*data, *f), c.value);
        } else {
            EXPECT_EQ(data->settingsBlock, before->settingsBlock);
            EXPECT_EQ(data->stringTable, before->stringTable);
        }
    }
}

// What the unit keeps itself may come back otherwise without a word; every field the upload
// carries is compared, in table order, a secret as any other.
TEST(Fields, ReadBackComparedOnlyWhereTheUploadCarriesAField) {
    auto written = std::make_unique<DeviceData>();
    written->identReply[kIdentVersionByte] = kVersionWithEndTexts;
    written->settingsBlock[kIdentVersionByte] = kVersionWithEndTexts;
    written->setSlotText(kSlotSmsNumber0, "4917012345");
    written->setSlotText(kSlotSupervisorCode0, "pw");
    written->setSlotText(kSlotEndPageText1, "Depot 3");
    written->setCusdValue(1234);

    auto held = std::make_unique<DeviceData>(*written);
    held->infoBlock.fill('Q');  // identity and modem state
    held->identReply[kIdentPinState] = kPinStateRequired;
    held->settingsBlock[kBlockLength] = 0x55;
    held->settingsBlock[kStringTableLength] = 0x66;
    held->settingsBlock[kReserved08] = 0x77;
    held->settingsBlock[kSimPinOffset + 1] = '9';
    held->setTamperEventFlags(kTamperUploaded);
    held->setSlotText(kSlotSpareText, "spare");
    EXPECT_EQ(fields::CompareReadBack(*written, *held).outcome, fields::Outcome::Verified);

    held->setSlotText(kSlotSupervisorCode0, "");
    held->setSlotText(kSlotSmsNumber0, "4917099999");
    held->setCusdValue(0);
    const fields::Verdict verdict = fields::CompareReadBack(*written, *held);
    EXPECT_EQ(verdict.outcome, fields::Outcome::Differs);
    std::vector<std::string> named;
    for (const fields::Difference& d : verdict.differences)
        named.push_back(d.field->name + ": " + d.written + " / " + d.read);
    EXPECT_EQ(named, (std::vector<std::string>{"sms.number.1: 4917012345 / 4917099999",
                                               "supervisor.code.1: pw / ", "end.cusd: 1234 / 0"}));
    // An end-page text goes back only to a unit of version 41: elsewhere it is not compared.
    written->identReply[kIdentVersionByte] = 40;
    held->setSlotText(kSlotEndPageText1, "other");
    EXPECT_EQ(fields::CompareReadBack(*written, *held).differences.size(), 3u);
}
