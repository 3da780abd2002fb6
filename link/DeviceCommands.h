// The communicator's exchanges: one request frame, at most one reply frame each. Called on the
// link worker's thread with the port open; they fill and read the buffers of DeviceData.
#pragma once

#include <cstdint>

class SerialPort;
struct DeviceData;

// Failures of the exchanges that carry a code of their own.
namespace exchange {
inline constexpr int kNotSent = -1;
inline constexpr int kNoReply = -2;       // modem information; upload: not exactly one byte
inline constexpr int kRefused = -3;       // upload: one byte other than 6
inline constexpr int kEventsFailed = -6;  // catalogue shorter than kMinEventsReply, or lost
inline constexpr int kMinEventsReply = 100;
}  // namespace exchange

// Identify's failures. A failing modem-information step comes back as its code less
// kModemInfoOffset.
namespace identify {
inline constexpr int kSettingsNotSent = -1;
inline constexpr int kNoSettings = -2;
inline constexpr int kStringsNotSent = -3;
inline constexpr int kModemInfoOffset = 100;
inline constexpr int kModemInfoNotSent = exchange::kNotSent - kModemInfoOffset;
inline constexpr int kNoModemInfo = exchange::kNoReply - kModemInfoOffset;
}  // namespace identify

// ReadBack's failures beyond Identify's first three: texts other than the settings announce.
namespace readback {
inline constexpr int kNoStrings = -4;
}  // namespace readback

// Start time-outs of the replies, in ms.
namespace startwait {
inline constexpr std::uint32_t kModemInfo = 200;
inline constexpr std::uint32_t kSettings = 1000;
inline constexpr std::uint32_t kStringTable = 200;
inline constexpr std::uint32_t kEvents = 3000;
inline constexpr std::uint32_t kUpload = 5000;
inline constexpr std::uint32_t kDial = 1000;
inline constexpr std::uint32_t kDisconnect = 2000;
inline constexpr std::uint32_t kStatus = 500;
}  // namespace startwait

int ReadModemInfo(SerialPort& port, DeviceData& data);
int Identify(SerialPort& port, DeviceData& data);
// The unit's settings and texts read again (commands 11 and 10, as Identify reads them) into
// `into`, after an upload; 0 when both arrived whole. Texts of another length than announced
// are a failure here: the read must show all the unit holds.
int ReadBack(SerialPort& port, DeviceData& into);
int ReadEvents(SerialPort& port, DeviceData& data);
int SendConfiguration(SerialPort& port, const DeviceData& data);
int SendDialRequest(SerialPort& port, const DeviceData& data);
int SendDisconnect(SerialPort& port);
int WaitStatus(SerialPort& port);
int SendCommand17(SerialPort& port);
int SendCommand18(SerialPort& port);
