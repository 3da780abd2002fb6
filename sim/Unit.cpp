#include "sim/Unit.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "device/Bytes.h"
#include "device/EventCatalogue.h"
#include "device/Fields.h"

using namespace layout;

namespace sim {
namespace {

constexpr std::uint16_t kEnglish = 0x0409;
// Bytes 394..399 of the record: the unit's own, carried unchanged by the tool.
constexpr std::uint8_t kHardwareBytes[] = {0x02, 0x1F, 0x00, 0x05, 0xA0, 0x00};

void SetInfo(Unit& unit, char gsm, char gprs, std::uint8_t signal, std::uint8_t band,
             const char* op, const char* model, const char* id, const char* firmware) {
    auto& info = unit.record.infoBlock;
    info[kInfoGsmRegistration] = static_cast<std::uint8_t>(gsm);
    info[kInfoGprsRegistration] = static_cast<std::uint8_t>(gprs);
    info[kInfoSignalLevel] = signal;
    info[kInfoBandCode] = band;
    WriteLE32(&info[kInfoLastError], 0);
    StoreText(&info[kInfoOperatorName.offset], kInfoOperatorName.size, op);
    StoreText(&info[kInfoModelText.offset], kInfoModelText.size, model);
    StoreText(&info[kInfoIdText.offset], kInfoIdText.size, id);
    StoreText(&info[kInfoFirmwareText.offset], kInfoFirmwareText.size, firmware);
}

void SetCatalogue(Unit& unit, const EventNames& names) {
    unit.catalogueLength =
        WriteCatalogue(unit.record.eventCatalogue.data(), kEventCatalogueSize, names);
}

void SelectEvents(Unit& unit, MaskTable table, int index, std::initializer_list<int> events) {
    for (int e : events) EventMaskSet(unit.record.eventMask(table, index), e, true);
}

Unit BaseUnit() {
    Unit unit;
    auto& r = unit.record;
    r.setLanguageCode(kEnglish);
    r.settingsBlock[kIdentVersionByte] = kVersionWithEndTexts;
    std::memcpy(&r.settingsBlock[kIdentVersionByte + 1], kHardwareBytes, sizeof kHardwareBytes);
    SetCatalogue(unit, DefaultEventNames());
    // Events 1..127 may travel over IP; the periodic test goes by the other paths only.
    auto filter = EventMask(&r.identReply[kIdentEventFilterMask], kEventMaskSize);
    for (int e = 1; e < 128; ++e) EventMaskSet(filter, e, true);
    return unit;
}

}  // namespace

void StoreSettings(Unit& unit) {
    std::memcpy(unit.record.identReply.data(), unit.record.settingsBlock.data(), kSettingsCopySize);
}

Unit DefaultUnit() {
    Unit unit = BaseUnit();
    auto& r = unit.record;
    r.setReportFlags(kFlagDtmfSupported | kFlagCidSmsSupported | kFlagSmsSupported |
                     kFlagIpSupported | kFlagSmsInstalled | kFlagIpInstalled | kFlagSmsPstn |
                     kFlagAnd);
    r.setTamperEventFlags(kTamperGsmError | kTamperTcpError);
    r.setCusdValue(100);
    r.setPhoneBookFlags(2);
    r.setSlotText(kSlotApnLogin, "internet.qubnet,alarm:s3cret");
    r.setSlotText(kSlotIpDestination0, "receiver1.qubrin-arc.net:7700");
    r.setSlotText(kSlotIpDestination0 + 1, "10.20.30.40:7700");
    StorePadded(r.account(AccountTable::Ip, 0).data(), kAccountSize, "4711");
    StorePadded(r.account(AccountTable::Ip, 1).data(), kAccountSize, "4711");
    r.setSlotText(kSlotSmsNumber0, "491701234567");
    r.setSlotText(kSlotSmsNumber0 + 1, "491609876543");
    r.setSlotText(kSlotCidSmsNumber0, "491510001122");
    StorePadded(r.account(AccountTable::CidSms, 0).data(), kAccountSize, "0815");
    r.setSlotText(kSlotDtmfNumber0, "0301234567");
    StorePadded(r.account(AccountTable::Dtmf, 0).data(), kAccountSize, "1234");
    r.setSlotText(kSlotSupervisorNumber0, "491771112223");
    r.setSlotText(kSlotSupervisorCode0, "2468");
    r.setSlotText(kSlotSupervisorNumber0 + 1, "491774445556");
    r.setSlotText(kSlotSupervisorCode0 + 1, "1357");
    r.setSlotText(kSlotSpareText, "QX7-SHOP");
    r.setSlotText(kSlotEndPageText1, "Shop 12, Market Street");
    SelectEvents(unit, MaskTable::Sms, 0, {1, 3, 5, 7, 18, 20});
    SelectEvents(unit, MaskTable::Sms, 1, {1, 3, 5});
    SelectEvents(unit, MaskTable::Ip, 0, {1, 2, 3, 4, 5, 16, 18, 19, 20, 60, 61});
    SelectEvents(unit, MaskTable::Ip, 1, {1, 3});
    SelectEvents(unit, MaskTable::CidSms, 0, {1, 3, 5});
    SelectEvents(unit, MaskTable::Dtmf, 0, {1, 3});
    StoreSettings(unit);
    SetInfo(unit, '1', '1', 21, 15, "Qubnet", "Qubrin QX-7 quad-band GSM/GPRS\r\nOK\r\n",
            "356938035643809", "2.31.07");
    return unit;
}

Unit BenchUnit(int n) {
    Unit unit = DefaultUnit();
    const std::string id = "35693803564" + std::to_string(4000 + n);
    StoreText(&unit.record.infoBlock[kInfoIdText.offset], kInfoIdText.size, id);
    return unit;
}

Unit DefaultRemoteUnit() {
    Unit unit = BaseUnit();
    auto& r = unit.record;
    r.setReportFlags(kFlagDtmfSupported | kFlagCidSmsSupported | kFlagSmsSupported |
                     kFlagIpSupported | kFlagDtmfInstalled | kFlagCidSmsInstalled |
                     kFlagDtmfVariant);
    r.setTamperEventFlags(kTamperGsmError);
    r.setPhoneBookFlags(1);
    r.setSlotText(kSlotDtmfNumber0, "0897654321");
    StorePadded(r.account(AccountTable::Dtmf, 0).data(), kAccountSize, "9001");
    r.setSlotText(kSlotCidSmsNumber0, "491702223334");
    StorePadded(r.account(AccountTable::CidSms, 0).data(), kAccountSize, "9001");
    r.setSlotText(kSlotUserCode, "7777");
    r.setSlotText(kSlotEndPageText1, "Farm house, north gate");
    SelectEvents(unit, MaskTable::Dtmf, 0, {1, 3, 5, 18});
    SelectEvents(unit, MaskTable::CidSms, 0, {1, 3});
    StoreSettings(unit);
    SetInfo(unit, '4', '4', 12, 3, "RoamNet", "Qubrin QX-5 dual-band GSM/GPRS\r\nOK\r\n",
            "356938035699001", "2.30.11");
    return unit;
}

std::vector<std::uint8_t> StringTableReply(const Unit& unit) {
    const int last =
        unit.record.versionByte() >= kVersionWithEndTexts ? kSlotCount : kSlotsAlwaysSent;
    std::vector<std::uint8_t> reply;
    for (int number = 1; number <= last; ++number) {
        const std::string text = unit.record.slotText(number);
        reply.insert(reply.end(), text.begin(), text.end());
        reply.push_back(0);
    }
    return reply;
}

std::vector<std::uint8_t> SettingsReply(const Unit& unit) {
    std::vector<std::uint8_t> reply(unit.record.identReply.begin(),
                                    unit.record.identReply.begin() + kIdentReplySize);
    WriteLE32(&reply[kIdentStringTableLength],
              static_cast<std::uint32_t>(StringTableReply(unit).size()));
    return reply;
}

namespace {

// Splits the text section of an image into its texts; false unless it is exactly `count`
// terminated texts, each fitting its slot.
bool SplitTexts(const std::uint8_t* texts, std::size_t length, int count,
                std::vector<std::string>& out, std::string* why) {
    std::size_t at = 0;
    for (int number = 1; number <= count; ++number) {
        const auto* begin = texts + at;
        const auto* end = std::find(begin, texts + length, 0);
        if (end == texts + length) {
            *why = "text " + std::to_string(number) + " is not terminated";
            return false;
        }
        const auto size = static_cast<std::size_t>(end - begin);
        const std::size_t room =
            kSlots[static_cast<std::size_t>(number - 1)].size - (FillsWholeSlot(number) ? 0 : 1);
        if (size > room) {
            *why = "text " + std::to_string(number) + " is too long for its slot";
            return false;
        }
        out.emplace_back(reinterpret_cast<const char*>(begin), size);
        at += size + 1;
    }
    if (at != length) {
        *why = "the text section has " + std::to_string(length - at) + " bytes too many";
        return false;
    }
    return true;
}

}  // namespace

bool ApplyConfiguration(Unit& unit, const std::uint8_t* image, std::size_t length,
                        std::string* why) {
    std::string ignored;
    if (!why) why = &ignored;
    if (length < kImageTexts + kSlotsAlwaysSent ||
        image[kImageCommand] != command::kWriteConfiguration) {
        *why = "too short for a configuration image";
        return false;
    }
    const std::uint8_t* settings = image + kImageSettings;
    if (ReadLE32(settings + kBlockLength) != kSettingsBlockSize) {
        *why = "blockLength is not 404";
        return false;
    }
    if (ReadLE32(settings + kStringTableLength) != length - kSettingsBlockSize) {
        *why = "stringTableLength does not match the image";
        return false;
    }
    // A unit of version 41 takes the two end-page texts too; an image without them is what
    // the tool sends to older units.
    std::vector<std::string> texts;
    int count = kSlotCount;
    if (unit.record.versionByte() != kVersionWithEndTexts ||
        !SplitTexts(image + kImageTexts, length - kImageTexts, count, texts, why)) {
        texts.clear();
        count = kSlotsAlwaysSent;
        if (!SplitTexts(image + kImageTexts, length - kImageTexts, count, texts, why)) return false;
    }

    // The record is taken as sent, except what only the unit itself knows: the lengths, the
    // protocols it supports and its version and hardware bytes. Where those bytes differ from
    // the unit's, the tool sent a new SIM PIN in their place.
    auto& r = unit.record;
    const std::uint32_t supported = r.reportFlags() & 0x0F000000u;
    const std::vector<std::uint8_t> own(r.identReply.begin() + kSimPinOffset,
                                        r.identReply.begin() + kSettingsCopySize);
    std::memcpy(&r.settingsBlock[kReportFlags], settings + kReportFlags,
                kSimPinOffset - kReportFlags);
    r.setReportFlags((r.reportFlags() & ~0x0F000000u) | supported);
    const std::uint8_t* pin = settings + kSimPinOffset;
    const bool pinSent = !std::equal(own.begin(), own.end(), pin) || pin[7] || pin[8];
    if (pinSent) {
        unit.simPin = BoundedText(pin, kSimPinSize);
        r.identReply[kIdentPinState] = 0;
    }
    std::memcpy(&r.settingsBlock[kSimPinOffset], own.data(), own.size());
    for (int number = 1; number <= count; ++number)
        r.setSlotText(number, texts[static_cast<std::size_t>(number - 1)]);
    StoreSettings(unit);
    return true;
}

void RestoreUnkept(Unit& unit, const DeviceData& before, const Unkept& part) {
    if (part.slot) {
        unit.record.setSlotText(part.slot, before.slotText(part.slot));
    } else if (const fields::Field* field = fields::FindField(part.field)) {
        fields::SetFieldValue(unit.record, *field, fields::FieldValue(before, *field));
    }
    StoreSettings(unit);
}

namespace {

std::string Hex(const std::uint8_t* p, std::size_t n) {
    std::string out;
    out.reserve(n * 2);
    char buf[3];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", p[i]);
        out += buf;
    }
    return out;
}

// Reads hex into at most `capacity` bytes; the count read, or -1 for a malformed text.
long FromHex(const std::string& hex, std::uint8_t* out, std::size_t capacity) {
    if (hex.size() % 2 || hex.size() / 2 > capacity) return -1;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned v = 0;
        if (std::sscanf(hex.c_str() + i, "%2x", &v) != 1) return -1;
        out[i / 2] = static_cast<std::uint8_t>(v);
    }
    return static_cast<long>(hex.size() / 2);
}

}  // namespace

bool SaveUnit(const Unit& unit, const std::string& path) {
    const std::string temp = path + ".new";
    {
        std::ofstream out(temp, std::ios::trunc);
        const auto& r = unit.record;
        out << "# qubrin-sim unit\n"
            << "identReply " << Hex(r.identReply.data(), kIdentReplySize) << '\n'
            << "stringTable " << Hex(r.stringTable.data(), kStringTableSize) << '\n'
            << "infoBlock " << Hex(r.infoBlock.data(), kInfoBlockSize) << '\n'
            << "catalogue " << Hex(r.eventCatalogue.data(), unit.catalogueLength) << '\n'
            << "simPin " << unit.simPin << '\n';
        if (!out.flush()) return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

bool LoadUnit(Unit& unit, const std::string& path) {
    std::ifstream in(path);
    if (!in) return false;
    Unit loaded = unit;
    std::string line;
    // Lines longer than any record's hex are malformed; getline is bounded by the file.
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key, value;
        fields >> key;
        std::getline(fields >> std::ws, value);
        auto& r = loaded.record;
        long n = 0;
        if (key == "identReply")
            n = FromHex(value, r.identReply.data(), kIdentReplySize);
        else if (key == "stringTable")
            n = FromHex(value, r.stringTable.data(), kStringTableSize);
        else if (key == "infoBlock")
            n = FromHex(value, r.infoBlock.data(), kInfoBlockSize);
        else if (key == "catalogue")
            loaded.catalogueLength = static_cast<std::size_t>(
                n = FromHex(value, r.eventCatalogue.data(), kEventCatalogueSize));
        else if (key == "simPin")
            loaded.simPin = value.substr(0, kSimPinSize - 1);
        if (n < 0) return false;
    }
    std::memcpy(loaded.record.settingsBlock.data(), loaded.record.identReply.data(),
                kSettingsCopySize);
    unit = loaded;
    return true;
}

}  // namespace sim
