#include "link/DeviceCommands.h"

#include <algorithm>
#include <cstring>

#include "device/DeviceData.h"
#include "link/SerialPort.h"

using namespace layout;

namespace {

// Acknowledgements and status bytes arrive in the port's own buffer.
constexpr std::size_t kAckUploadMax = 4;
constexpr std::size_t kOneByteReplyMax = 5;

int SendByte(SerialPort& port, std::uint8_t command) {
    return port.SendFrame(&command, 1);
}

// A one-byte answer as a signed value; 0 for anything else, a missing reply included.
int OneByteReply(SerialPort& port, std::uint32_t startTimeoutMs) {
    const int n = port.ReceiveFrame(port.receiveBuffer(), kOneByteReplyMax, startTimeoutMs);
    return n == 1 ? static_cast<std::int8_t>(port.receiveBuffer()[0]) : 0;
}

// Settings, then texts; the texts only when they come whole, with the length announced.
int ReadRecord(SerialPort& port, DeviceData& data) {
    if (!SendByte(port, command::kReadSettings)) return identify::kSettingsNotSent;
    const int n = port.ReceiveFrame(data.identReply.data(), kIdentReplySize, startwait::kSettings);
    if (n != static_cast<int>(kIdentReplySize)) return identify::kNoSettings;
    std::memcpy(data.settingsBlock.data(), data.identReply.data(), kSettingsCopySize);

    if (!SendByte(port, command::kReadStringTable)) return identify::kStringsNotSent;
    const int length =
        port.ReceiveFrame(port.receiveBuffer(), kStringReplyMax, startwait::kStringTable);
    if (length <= 1 || static_cast<std::uint32_t>(length) != data.identStringTableLength())
        return readback::kNoStrings;
    UnpackStringTable(data, port.receiveBuffer(), static_cast<std::size_t>(length));
    return 0;
}

}  // namespace

int ReadModemInfo(SerialPort& port, DeviceData& data) {
    if (!SendByte(port, command::kReadModemInfo)) return exchange::kNotSent;
    const int n = port.ReceiveFrame(data.infoBlock.data(), kInfoBlockSize, startwait::kModemInfo);
    return n == static_cast<int>(kInfoBlockSize) ? 0 : exchange::kNoReply;
}

int Identify(SerialPort& port, DeviceData& data) {
    if (const int c = ReadModemInfo(port, data); c != 0) return c - identify::kModemInfoOffset;
    const int c = ReadRecord(port, data);
    // A text table of another length than announced leaves the texts as they were.
    return c == readback::kNoStrings ? 0 : c;
}

int ReadBack(SerialPort& port, DeviceData& into) {
    return ReadRecord(port, into);
}

int ReadEvents(SerialPort& port, DeviceData& data) {
    const std::uint16_t code = data.languageCode();
    const std::uint8_t request[3] = {command::kReadEvents, static_cast<std::uint8_t>(code & 0xFF),
                                     static_cast<std::uint8_t>(code >> 8)};
    if (!port.SendFrame(request, sizeof request)) return exchange::kNotSent;
    const int n =
        port.ReceiveFrame(data.eventCatalogue.data(), kEventCatalogueSize, startwait::kEvents);
    const bool received = n >= exchange::kMinEventsReply;
    // Only what this reply carried: behind it (its checksum byte and any longer catalogue
    // read before) nothing may pass for a name.
    const auto kept = data.eventCatalogue.begin() + (received ? n : 0);
    std::fill(kept, data.eventCatalogue.end(), std::uint8_t{0});
    return received ? n : exchange::kEventsFailed;
}

int SendConfiguration(SerialPort& port, const DeviceData& data) {
    if (!port.SendFrame(data.uploadImage.data(), data.uploadLength)) return exchange::kNotSent;
    const int n = port.ReceiveFrame(port.receiveBuffer(), kAckUploadMax, startwait::kUpload);
    if (n != 1) return exchange::kNoReply;
    return port.receiveBuffer()[0] == command::kAckUpload ? 0 : exchange::kRefused;
}

int SendDialRequest(SerialPort& port, const DeviceData& data) {
    if (!port.SendFrame(data.uploadImage.data(), data.uploadLength)) return 0;
    return OneByteReply(port, startwait::kDial) == command::kAckDial ? command::kAckDial : 0;
}

int SendDisconnect(SerialPort& port) {
    if (!SendByte(port, command::kDisconnect)) return 0;
    return OneByteReply(port, startwait::kDisconnect);
}

int WaitStatus(SerialPort& port) {
    return OneByteReply(port, startwait::kStatus);
}

int SendCommand17(SerialPort& port) {
    return SendByte(port, command::kCommand17);
}

int SendCommand18(SerialPort& port) {
    return SendByte(port, command::kCommand18);
}
