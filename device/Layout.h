// Byte layout of everything the communicator sends and receives. Every offset and size of the
// device record lives here and nowhere else.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace layout {

// A buffer that receives a frame needs one spare byte for the frame's checksum.
inline constexpr std::size_t kChecksumSpare = 1;

// --- identReply: the reply to "read settings" (command 11) ---
inline constexpr std::size_t kIdentReplySize = 452;
inline constexpr std::size_t kIdentStringTableLength = 4;  // u32
inline constexpr std::size_t kIdentVersionByte = 393;
inline constexpr std::size_t kIdentEventFilterMask = 428;  // 20 bytes
inline constexpr std::size_t kIdentPinState = 448;
inline constexpr std::uint8_t kPinStateRequired = 2;

// --- settingsBlock: first 400 bytes of identReply plus 4 bytes sent only in the image ---
inline constexpr std::size_t kSettingsCopySize = 400;
inline constexpr std::size_t kSettingsBlockSize = 404;
inline constexpr std::size_t kBlockLength = 0;        // u32
inline constexpr std::size_t kStringTableLength = 4;  // u32
inline constexpr std::size_t kReserved08 = 8;         // u32
inline constexpr std::size_t kReportFlags = 12;       // u32
inline constexpr std::size_t kLanguageCode = 16;      // u16
inline constexpr std::size_t kTamperEventFlags = 19;  // u8
inline constexpr std::size_t kCusdValue = 22;         // u16
inline constexpr std::size_t kSmsEventMasks = 24;
inline constexpr std::size_t kCidSmsEventMasks = 104;
inline constexpr std::size_t kIpEventMasks = 184;
inline constexpr std::size_t kDtmfEventMasks = 264;
inline constexpr std::size_t kDtmfAccounts = 344;
inline constexpr std::size_t kIpAccounts = 360;
inline constexpr std::size_t kCidSmsAccounts = 376;
inline constexpr std::size_t kPhoneBookFlags = 392;
inline constexpr std::size_t kSimPinOffset = 393;  // where a new SIM PIN travels in the image
inline constexpr std::size_t kSimPinSize = 9;      // 8 digits and a terminator

inline constexpr std::size_t kMasksPerTable = 4;
inline constexpr std::size_t kAccountSize = 4;
inline constexpr std::size_t kAccountsPerTable = 4;

// reportFlags bits
inline constexpr std::uint32_t kFlagDtmfInstalled = 0x1;
inline constexpr std::uint32_t kFlagCidSmsInstalled = 0x2;
inline constexpr std::uint32_t kFlagSmsInstalled = 0x4;
inline constexpr std::uint32_t kFlagIpInstalled = 0x8;
inline constexpr std::uint32_t kFlagsInstalledMask = 0xF;
inline constexpr std::uint32_t kFlagDtmfPstn = 0x100;
inline constexpr std::uint32_t kFlagCidSmsPstn = 0x200;
inline constexpr std::uint32_t kFlagSmsPstn = 0x400;
inline constexpr std::uint32_t kFlagIpPstn = 0x800;
inline constexpr std::uint32_t kFlagDtmfOption = 0x1000;
inline constexpr std::uint32_t kFlagAnd = 0x2000;
inline constexpr std::uint32_t kFlagSmsOption = 0x4000;
inline constexpr std::uint32_t kFlagIpOption = 0x8000;
inline constexpr std::uint32_t kFlagCidSmsOption = 0x10000;
inline constexpr std::uint32_t kFlagDtmfSupported = 0x1000000;
inline constexpr std::uint32_t kFlagCidSmsSupported = 0x2000000;
inline constexpr std::uint32_t kFlagSmsSupported = 0x4000000;
inline constexpr std::uint32_t kFlagIpSupported = 0x8000000;
inline constexpr std::uint32_t kFlagDtmfVariant = 0x10000000;
inline constexpr std::uint32_t kFlagPrimary = 0x40000000;

// tamperEventFlags bits
inline constexpr std::uint8_t kTamperTcpError = 0x1;
inline constexpr std::uint8_t kTamperGsmError = 0x2;
inline constexpr std::uint8_t kTamperSystemError = 0x4;
inline constexpr std::uint8_t kTamperUploaded = 0x8;

// phoneBookFlags
inline constexpr std::uint8_t kScenarioMask = 0x03;
inline constexpr std::uint8_t kScenarioBits7 = 0x7F;  // the low seven bits read at start-up
inline constexpr std::uint8_t kSupervisorOption = 0x80;

// --- version byte: the two end-page texts exist from 41 on ---
inline constexpr std::uint8_t kVersionWithEndTexts = 41;
inline constexpr std::uint8_t kEndTextPlaceholder = 7;

// --- event masks ---
inline constexpr std::size_t kEventMaskSize = 20;
inline constexpr int kEventCount = 152;
inline constexpr std::size_t kEventNameMax = 69;  // characters, without the terminator

// --- stringTable: 41 slots ---
struct SlotInfo {
    std::size_t offset;
    std::size_t size;
};

inline constexpr int kSlotCount = 41;
inline constexpr int kSlotsAlwaysSent = 39;  // slots 1..39; 40 and 41 depend on the version
inline constexpr int kSlotApnLogin = 1;
inline constexpr int kSlotIpDestination0 = 2;
inline constexpr int kSlotSmsNumber0 = 6;
inline constexpr int kSlotCidSmsNumber0 = 10;
inline constexpr int kSlotDtmfNumber0 = 14;
inline constexpr int kSlotSupervisorNumber0 = 18;
inline constexpr int kSlotSupervisorCode0 = 28;
inline constexpr int kSlotUserCode = 38;
inline constexpr int kSlotSpareText = 39;
inline constexpr int kSlotEndPageText1 = 40;
inline constexpr int kSlotEndPageText2 = 41;

inline constexpr std::size_t kApnLoginSize = 128;
inline constexpr std::size_t kIpDestinationSize = 64;
inline constexpr std::size_t kPhoneNumberSize = 16;
inline constexpr std::size_t kSupervisorCodeSize = 10;
inline constexpr std::size_t kUserCodeSize = 16;
inline constexpr std::size_t kUserCodeStored = 10;  // pages write at most this much of userCode
inline constexpr std::size_t kSpareTextSize = 16;
inline constexpr std::size_t kEndPageTextSize = 70;
inline constexpr int kSupervisorCount = 10;

// Supervisor codes may fill their 10 bytes without a terminator; every other slot holds its
// text and a terminator.
constexpr bool FillsWholeSlot(int slotNumber) {
    return slotNumber >= kSlotSupervisorCode0 &&
           slotNumber < kSlotSupervisorCode0 + kSupervisorCount;
}

namespace detail {
constexpr std::array<std::size_t, kSlotCount> SlotSizes() {
    std::array<std::size_t, kSlotCount> s{};
    int i = 0;
    s[i++] = kApnLoginSize;
    for (int k = 0; k < 4; ++k) s[i++] = kIpDestinationSize;
    for (int k = 0; k < 12; ++k) s[i++] = kPhoneNumberSize;  // SMS, CID-SMS, DTMF
    for (int k = 0; k < kSupervisorCount; ++k) s[i++] = kPhoneNumberSize;
    for (int k = 0; k < kSupervisorCount; ++k) s[i++] = kSupervisorCodeSize;
    s[i++] = kUserCodeSize;
    s[i++] = kSpareTextSize;
    s[i++] = kEndPageTextSize;
    s[i++] = kEndPageTextSize;
    return s;
}
constexpr std::array<SlotInfo, kSlotCount> SlotTable() {
    std::array<SlotInfo, kSlotCount> t{};
    std::size_t offset = 0;
    const auto sizes = SlotSizes();
    for (int i = 0; i < kSlotCount; ++i) {
        t[i] = {offset, sizes[i]};
        offset += sizes[i];
    }
    return t;
}
}  // namespace detail

// Indexed by slot number - 1.
inline constexpr std::array<SlotInfo, kSlotCount> kSlots = detail::SlotTable();
inline constexpr std::size_t kStringTableSize =
    kSlots[kSlotCount - 1].offset + kSlots[kSlotCount - 1].size;

static_assert(kStringTableSize == 1008);
static_assert(kSlots[kSlotIpDestination0 - 1].offset == 128);
static_assert(kSlots[kSlotSupervisorCode0 - 1].size == kSupervisorCodeSize);
static_assert(kSlots[kSlotUserCode - 1].offset == 128 + 256 + 12 * 16 + 10 * 16 + 10 * 10);
static_assert(kSlots[kSlotEndPageText1 - 1].size == kEndPageTextSize);

// --- infoBlock: the reply to "read modem information" (command 13) ---
inline constexpr std::size_t kInfoBlockSize = 108;
inline constexpr std::size_t kInfoGsmRegistration = 0;
inline constexpr std::size_t kInfoGprsRegistration = 1;
inline constexpr std::size_t kInfoSignalLevel = 2;
inline constexpr std::size_t kInfoBandCode = 3;
inline constexpr std::size_t kInfoLastError = 4;  // i32
inline constexpr SlotInfo kInfoOperatorName{8, 20};
inline constexpr SlotInfo kInfoModelText{28, 48};
inline constexpr SlotInfo kInfoIdText{76, 24};
inline constexpr SlotInfo kInfoFirmwareText{100, 8};
static_assert(kInfoFirmwareText.offset + kInfoFirmwareText.size == kInfoBlockSize);
inline constexpr std::int32_t kLastErrorNone = 0;
inline constexpr std::int32_t kLastErrorHarmless = 100;

// --- the rest ---
inline constexpr std::size_t kEventCatalogueSize = 16384;
inline constexpr std::size_t kUploadImageSize = 16384;
inline constexpr std::size_t kImageWorkSize = 16386;
inline constexpr std::size_t kStringReplyMax = 4096;

// Configuration image: command byte, the 404-byte record, the texts.
inline constexpr std::size_t kImageCommand = 0;
inline constexpr std::size_t kImageSettings = 1;
inline constexpr std::size_t kImageTexts = kImageSettings + kSettingsBlockSize;
inline constexpr std::size_t kImageMaxSize = kImageTexts + kStringTableSize;
static_assert(kImageMaxSize == 1413);
static_assert(kImageMaxSize <= kUploadImageSize);

// The dialling request (command 20): number, 0, password, 0, ',', data protocol index.
inline constexpr std::size_t kDialNumberMax = 127;
inline constexpr std::size_t kDialPasswordMax = 15;
inline constexpr std::uint8_t kDialSeparator = ',';
inline constexpr std::size_t kDialRequestMaxSize =
    1 + kDialNumberMax + 1 + kDialPasswordMax + 1 + 2;
static_assert(kDialRequestMaxSize <= kUploadImageSize);

}  // namespace layout

// Command bytes: the first payload byte of every request frame.
namespace command {
inline constexpr std::uint8_t kReadStringTable = 10;
inline constexpr std::uint8_t kReadSettings = 11;
inline constexpr std::uint8_t kReadEvents = 12;
inline constexpr std::uint8_t kReadModemInfo = 13;
inline constexpr std::uint8_t kDisconnect = 15;
inline constexpr std::uint8_t kCommand17 = 17;
inline constexpr std::uint8_t kCommand18 = 18;
inline constexpr std::uint8_t kDialRequest = 20;
inline constexpr std::uint8_t kWriteConfiguration = 100;

inline constexpr std::uint8_t kAckUpload = 6;
inline constexpr std::uint8_t kAckDial = 8;
}  // namespace command

// Status bytes the communicator sends while it dials a remote unit.
namespace dialstatus {
inline constexpr std::int8_t kNothing = 0;
inline constexpr std::int8_t kDialling = 8;
inline constexpr std::int8_t kCheckPassword = 9;
inline constexpr std::int8_t kDownloadParameters = 10;
inline constexpr std::int8_t kDownloadInfo = 11;
inline constexpr std::int8_t kDownloadEvents = 12;
inline constexpr std::int8_t kDownloadFinished = 13;
inline constexpr std::int8_t kPasswordError = 15;
inline constexpr std::int8_t kConnected = 16;
inline constexpr std::int8_t kNoCarrier = 17;
inline constexpr std::int8_t kNoCarrier2 = 18;
inline constexpr std::int8_t kUnknownNumber = 19;
inline constexpr std::int8_t kAborted = 20;
inline constexpr std::int8_t kCommunicationError = 21;
}  // namespace dialstatus
