#include "device/DeviceData.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "device/Bytes.h"

using namespace layout;

bool EventMaskTest(ConstEventMask mask, int event) {
    if (event < 0 || event >= static_cast<int>(kEventMaskSize * 8)) return false;
    return (mask[static_cast<std::size_t>(event / 8)] >> (event % 8)) & 1;
}

void EventMaskSet(EventMask mask, int event, bool on) {
    if (event < 0 || event >= static_cast<int>(kEventMaskSize * 8)) return;
    const auto bit = static_cast<std::uint8_t>(1u << (event % 8));
    auto& byte = mask[static_cast<std::size_t>(event / 8)];
    byte = on ? static_cast<std::uint8_t>(byte | bit) : static_cast<std::uint8_t>(byte & ~bit);
}

namespace {

const SlotInfo& Slot(int number) {
    assert(number >= 1 && number <= kSlotCount);
    return kSlots[static_cast<std::size_t>(std::clamp(number, 1, kSlotCount) - 1)];
}

}  // namespace

std::size_t MaskTableOffset(MaskTable table) {
    switch (table) {
        case MaskTable::Sms:
            return kSmsEventMasks;
        case MaskTable::CidSms:
            return kCidSmsEventMasks;
        case MaskTable::Ip:
            return kIpEventMasks;
        case MaskTable::Dtmf:
            return kDtmfEventMasks;
    }
    return kSmsEventMasks;
}

std::size_t AccountTableOffset(AccountTable table) {
    switch (table) {
        case AccountTable::Dtmf:
            return kDtmfAccounts;
        case AccountTable::Ip:
            return kIpAccounts;
        case AccountTable::CidSms:
            return kCidSmsAccounts;
    }
    return kDtmfAccounts;
}

std::uint32_t DeviceData::blockLength() const {
    return ReadLE32(&settingsBlock[kBlockLength]);
}
std::uint32_t DeviceData::stringTableLength() const {
    return ReadLE32(&settingsBlock[kStringTableLength]);
}
std::uint32_t DeviceData::reserved08() const {
    return ReadLE32(&settingsBlock[kReserved08]);
}
std::uint32_t DeviceData::reportFlags() const {
    return ReadLE32(&settingsBlock[kReportFlags]);
}
void DeviceData::setReportFlags(std::uint32_t flags) {
    WriteLE32(&settingsBlock[kReportFlags], flags);
}
void DeviceData::setReportFlag(std::uint32_t bits, bool on) {
    setReportFlags(on ? (reportFlags() | bits) : (reportFlags() & ~bits));
}
std::uint16_t DeviceData::languageCode() const {
    return ReadLE16(&settingsBlock[kLanguageCode]);
}
void DeviceData::setLanguageCode(std::uint16_t code) {
    WriteLE16(&settingsBlock[kLanguageCode], code);
}
std::uint8_t DeviceData::tamperEventFlags() const {
    return settingsBlock[kTamperEventFlags];
}
void DeviceData::setTamperEventFlags(std::uint8_t flags) {
    settingsBlock[kTamperEventFlags] = flags;
}
std::uint16_t DeviceData::cusdValue() const {
    return ReadLE16(&settingsBlock[kCusdValue]);
}
void DeviceData::setCusdValue(std::uint16_t value) {
    WriteLE16(&settingsBlock[kCusdValue], value);
}
std::uint8_t DeviceData::phoneBookFlags() const {
    return settingsBlock[kPhoneBookFlags];
}
void DeviceData::setPhoneBookFlags(std::uint8_t flags) {
    settingsBlock[kPhoneBookFlags] = flags;
}

std::uint8_t* DeviceData::eventMasks(MaskTable table) {
    return &settingsBlock[MaskTableOffset(table)];
}

EventMask DeviceData::eventMask(MaskTable table, int index) {
    assert(index >= 0 && index < static_cast<int>(kMasksPerTable));
    return EventMask(eventMasks(table) + kEventMaskSize * static_cast<std::size_t>(index),
                     kEventMaskSize);
}

std::span<std::uint8_t, kAccountSize> DeviceData::account(AccountTable table, int index) {
    assert(index >= 0 && index < static_cast<int>(kAccountsPerTable));
    return std::span<std::uint8_t, kAccountSize>(
        &settingsBlock[AccountTableOffset(table) + kAccountSize * static_cast<std::size_t>(index)],
        kAccountSize);
}

std::string DeviceData::accountText(AccountTable table, int index) const {
    return BoundedText(
        &settingsBlock[AccountTableOffset(table) + kAccountSize * static_cast<std::size_t>(index)],
        kAccountSize);
}

std::uint32_t DeviceData::identStringTableLength() const {
    return ReadLE32(&identReply[kIdentStringTableLength]);
}
std::uint8_t DeviceData::versionByte() const {
    return identReply[kIdentVersionByte];
}
ConstEventMask DeviceData::eventFilterMask() const {
    return ConstEventMask(&identReply[kIdentEventFilterMask], kEventMaskSize);
}
std::uint8_t DeviceData::pinState() const {
    return identReply[kIdentPinState];
}

std::span<std::uint8_t> DeviceData::slot(int number) {
    const auto& s = Slot(number);
    return {&stringTable[s.offset], s.size};
}
std::span<const std::uint8_t> DeviceData::slot(int number) const {
    const auto& s = Slot(number);
    return {&stringTable[s.offset], s.size};
}
std::string DeviceData::slotText(int number) const {
    const auto s = slot(number);
    return BoundedText(s.data(), s.size());
}
bool DeviceData::setSlotText(int number, std::string_view text) {
    const auto s = slot(number);
    if (!FillsWholeSlot(number)) return StoreText(s.data(), s.size(), text);
    if (text.size() > s.size()) return false;
    StorePadded(s.data(), s.size(), text);
    return true;
}

void DeviceData::setUserCode(std::string_view code) {
    const auto s = slot(kSlotUserCode);
    StorePadded(s.data(), s.size(), code.substr(0, kUserCodeStored));
}

char DeviceData::gsmRegistration() const {
    return static_cast<char>(infoBlock[kInfoGsmRegistration]);
}
char DeviceData::gprsRegistration() const {
    return static_cast<char>(infoBlock[kInfoGprsRegistration]);
}
std::uint8_t DeviceData::signalLevel() const {
    return infoBlock[kInfoSignalLevel];
}
std::uint8_t DeviceData::bandCode() const {
    return infoBlock[kInfoBandCode];
}
std::int32_t DeviceData::lastError() const {
    return static_cast<std::int32_t>(ReadLE32(&infoBlock[kInfoLastError]));
}
std::string DeviceData::operatorName() const {
    return BoundedText(&infoBlock[kInfoOperatorName.offset], kInfoOperatorName.size);
}
std::string DeviceData::modelText() const {
    return BoundedText(&infoBlock[kInfoModelText.offset], kInfoModelText.size);
}
std::string DeviceData::idText() const {
    return BoundedText(&infoBlock[kInfoIdText.offset], kInfoIdText.size);
}
std::string DeviceData::firmwareText() const {
    return BoundedText(&infoBlock[kInfoFirmwareText.offset], kInfoFirmwareText.size);
}

std::string DeviceData::newSimPinText() const {
    return BoundedText(reinterpret_cast<const std::uint8_t*>(newSimPin.data()), newSimPin.size());
}

void DeviceData::setNewSimPin(std::string_view pin) {
    StorePadded(reinterpret_cast<std::uint8_t*>(newSimPin.data()), newSimPin.size(),
                pin.substr(0, newSimPin.size() - 1));
}

void UnpackStringTable(DeviceData& data, const std::uint8_t* reply, std::size_t length) {
    const bool withEndTexts = data.versionByte() >= kVersionWithEndTexts;
    const int last = withEndTexts ? kSlotCount : kSlotsAlwaysSent;
    std::size_t at = 0;
    for (int number = 1; number <= last; ++number) {
        const auto* begin = reply + std::min(at, length);
        const auto* end = std::find(begin, reply + length, 0);
        const auto textLength = static_cast<std::size_t>(end - begin);
        const auto slot = data.slot(number);
        const std::size_t room = FillsWholeSlot(number) ? slot.size() : slot.size() - 1;
        const std::size_t kept = std::min(textLength, room);
        std::memcpy(slot.data(), begin, kept);
        if (kept < slot.size()) slot[kept] = 0;
        at += textLength + 1;
    }
    if (!withEndTexts) {
        data.slot(kSlotEndPageText1)[0] = kEndTextPlaceholder;
        data.slot(kSlotEndPageText2)[0] = kEndTextPlaceholder;
    }
}

namespace {

// Appends a text and its terminator; the work buffer always has room for a whole string table.
std::size_t AppendText(ImageBuffer& work, std::size_t at, std::string_view text) {
    std::memcpy(&work.bytes[at], text.data(), text.size());
    work.bytes[at + text.size()] = 0;
    return at + text.size() + 1;
}

std::string_view CutToSlot(std::string_view text) {
    return text.substr(0, std::min(text.size(), kEndPageTextSize - 1));
}

}  // namespace

void BuildConfigurationImage(DeviceData& data, ImageBuffer& work, std::string_view endText1,
                             std::string_view endText2, std::uint16_t languageCode) {
    const std::string pin = data.newSimPinText();
    if (!pin.empty()) StorePadded(&data.settingsBlock[kSimPinOffset], kSimPinSize, pin);
    WriteLE32(&data.settingsBlock[kBlockLength], kSettingsBlockSize);

    work.bytes[kImageCommand] = command::kWriteConfiguration;
    std::memcpy(&work.bytes[kImageSettings], data.settingsBlock.data(), kSettingsBlockSize);
    std::size_t at = kImageTexts;
    for (int number = 1; number <= kSlotsAlwaysSent; ++number)
        at = AppendText(work, at, data.slotText(number));
    if (data.versionByte() == kVersionWithEndTexts) {
        data.setSlotText(kSlotEndPageText1, CutToSlot(endText1));
        data.setSlotText(kSlotEndPageText2, CutToSlot(endText2));
        at = AppendText(work, at, data.slotText(kSlotEndPageText1));
        at = AppendText(work, at, data.slotText(kSlotEndPageText2));
    }

    WriteLE32(&work.bytes[kImageSettings + kStringTableLength],
              static_cast<std::uint32_t>(at - kSettingsBlockSize));
    WriteLE32(&work.bytes[kImageSettings + kReserved08], 0);
    data.setLanguageCode(languageCode);

    work.length = static_cast<std::uint16_t>(at);
    std::memcpy(data.uploadImage.data(), work.bytes.data(), at);
    data.uploadLength = work.length;
}

namespace {

std::size_t AppendCut(std::uint8_t* out, std::size_t at, std::string_view text, std::size_t max) {
    const std::size_t n = std::min(text.size(), max);
    std::memcpy(out + at, text.data(), n);
    out[at + n] = 0;
    return at + n + 1;
}

}  // namespace

void BuildDialRequest(DeviceData& data, std::string_view number, std::string_view password,
                      std::uint8_t protocol) {
    std::uint8_t* out = data.uploadImage.data();
    std::size_t at = 0;
    out[at++] = command::kDialRequest;
    at = AppendCut(out, at, number, kDialNumberMax);
    at = AppendCut(out, at, password, kDialPasswordMax);
    out[at++] = kDialSeparator;
    out[at++] = protocol;
    data.uploadLength = static_cast<std::uint16_t>(at);
}

DialRequest ParseDialRequest(const std::uint8_t* request, std::size_t length) {
    const std::uint8_t* end = request + length;
    const std::uint8_t* number = length > 0 ? request + 1 : end;
    const std::uint8_t* numberEnd = std::find(number, end, 0);
    const std::uint8_t* password = numberEnd == end ? end : numberEnd + 1;
    const std::uint8_t* passwordEnd = std::find(password, end, 0);
    return {std::string(number, numberEnd), std::string(password, passwordEnd)};
}
