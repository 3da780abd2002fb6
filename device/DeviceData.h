// Every buffer the tool shares with the communicator. The application holds exactly one;
// link operations and pages take it by reference.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "device/Layout.h"

// Which protocol's four event masks (or account codes) a page works on.
enum class MaskTable { Sms, CidSms, Ip, Dtmf };
enum class AccountTable { Dtmf, Ip, CidSms };
// Where each table starts in settingsBlock.
std::size_t MaskTableOffset(MaskTable table);
std::size_t AccountTableOffset(AccountTable table);

using EventMask = std::span<std::uint8_t, layout::kEventMaskSize>;
using ConstEventMask = std::span<const std::uint8_t, layout::kEventMaskSize>;

bool EventMaskTest(ConstEventMask mask, int event);
void EventMaskSet(EventMask mask, int event, bool on);

struct DeviceData {
    // Buffers that receive a frame carry a spare byte for its checksum.
    std::array<std::uint8_t, layout::kIdentReplySize + layout::kChecksumSpare> identReply{};
    std::array<std::uint8_t, layout::kSettingsBlockSize> settingsBlock{};
    std::array<std::uint8_t, layout::kStringTableSize> stringTable{};
    std::array<std::uint8_t, layout::kInfoBlockSize + layout::kChecksumSpare> infoBlock{};
    std::array<std::uint8_t, layout::kEventCatalogueSize + layout::kChecksumSpare> eventCatalogue{};
    std::array<std::uint8_t, layout::kUploadImageSize> uploadImage{};
    std::uint16_t uploadLength = 0;
    std::array<char, layout::kSimPinSize> newSimPin{};

    // --- settingsBlock ---
    std::uint32_t blockLength() const;
    std::uint32_t stringTableLength() const;
    std::uint32_t reserved08() const;
    std::uint32_t reportFlags() const;
    void setReportFlags(std::uint32_t flags);
    // Sets or clears one group of bits, leaving every other bit alone.
    void setReportFlag(std::uint32_t bits, bool on);
    bool reportFlag(std::uint32_t bits) const { return (reportFlags() & bits) != 0; }
    std::uint16_t languageCode() const;
    void setLanguageCode(std::uint16_t code);
    std::uint8_t tamperEventFlags() const;
    void setTamperEventFlags(std::uint8_t flags);
    std::uint16_t cusdValue() const;
    void setCusdValue(std::uint16_t value);
    std::uint8_t phoneBookFlags() const;
    void setPhoneBookFlags(std::uint8_t flags);

    // The four masks of one protocol, 20 bytes each, back to back.
    std::uint8_t* eventMasks(MaskTable table);
    EventMask eventMask(MaskTable table, int index);
    std::span<std::uint8_t, layout::kAccountSize> account(AccountTable table, int index);
    // An account field's text: up to its first NUL, at most four characters.
    std::string accountText(AccountTable table, int index) const;

    // --- identReply, read in place ---
    std::uint32_t identStringTableLength() const;
    std::uint8_t versionByte() const;
    ConstEventMask eventFilterMask() const;
    std::uint8_t pinState() const;

    // --- stringTable, by slot number 1..41 ---
    std::span<std::uint8_t> slot(int number);
    std::span<const std::uint8_t> slot(int number) const;
    std::string slotText(int number) const;
    // False (and nothing written) when the text does not fit (with its terminator, except in
    // a supervisor code slot, which a ten-character code fills).
    bool setSlotText(int number, std::string_view text);
    // At most the first ten characters, and zero bytes in the rest of the slot: no byte of a
    // longer code before it stays behind the new one.
    void setUserCode(std::string_view code);

    // --- infoBlock ---
    char gsmRegistration() const;
    char gprsRegistration() const;
    std::uint8_t signalLevel() const;
    std::uint8_t bandCode() const;
    std::int32_t lastError() const;
    std::string operatorName() const;
    std::string modelText() const;
    std::string idText() const;
    std::string firmwareText() const;

    std::string newSimPinText() const;
    // At most eight characters, always terminated.
    void setNewSimPin(std::string_view pin);
};

// Unpacks a string-table reply of `length` bytes into the slots, in slot order. Never reads
// past the reply; every slot keeps its text within its bounds (terminated, except a supervisor
// code of exactly ten characters); a text too long for its slot is cut and the read moves on
// past its own terminator; slots the reply has no text for become empty.
// Below version 41 the two end-page slots only get the placeholder byte 7.
void UnpackStringTable(DeviceData& data, const std::uint8_t* reply, std::size_t length);

// The end page's work buffer: the image is assembled here, then copied to uploadImage.
struct ImageBuffer {
    std::uint16_t length = 0;
    std::array<std::uint8_t, layout::kImageWorkSize> bytes{};
};

// Assembles the configuration image (command 100, the 404-byte record, the texts) into
// `work`, then copies it to data.uploadImage and sets data.uploadLength. End-page texts longer
// than their slot are cut to fit.
void BuildConfigurationImage(DeviceData& data, ImageBuffer& work, std::string_view endText1,
                             std::string_view endText2, std::uint16_t languageCode);

// Writes the dialling request (command 20) into data.uploadImage and sets data.uploadLength:
// the number and the password, each cut to its longest and terminated, then ',' and the
// data protocol's index.
void BuildDialRequest(DeviceData& data, std::string_view number, std::string_view password,
                      std::uint8_t protocol);

struct DialRequest {
    std::string number;
    std::string password;
};
// The number and password of a dialling request of `length` bytes; never reads past it.
DialRequest ParseDialRequest(const std::uint8_t* request, std::size_t length);
