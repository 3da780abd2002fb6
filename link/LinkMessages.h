// The two messages between the pages and the link worker, and the numbers they carry.
#pragma once

#include <cstdint>

// Stands for the window a page answers on; 0 = no window.
using WindowHandle = std::uintptr_t;

inline constexpr unsigned kWmUser = 0x400;
inline constexpr unsigned WM_LINK_REQUEST = kWmUser + 2;  // page -> worker
inline constexpr unsigned WM_LINK_RESULT = kWmUser + 3;   // worker -> page, synchronous

// Link commands: wParam of WM_LINK_REQUEST.
namespace linkcmd {
inline constexpr int kScan = 0;
inline constexpr int kIdentify = 1;
inline constexpr int kNothing = 2;
inline constexpr int kReadEvents = 3;
inline constexpr int kUpload = 4;
inline constexpr int kClose = 5;
inline constexpr int kDial = 6;
inline constexpr int kDisconnect = 7;
inline constexpr int kCommand17 = 8;
inline constexpr int kSendScratch = 9;
inline constexpr int kCommand18 = 10;
inline constexpr int kWaitStatus = 11;
inline constexpr int kModemInfo = 12;
inline constexpr int kQuit = 13;
inline constexpr int kLast = kQuit;
// Beyond the numbered commands: served only with a record to read into (RequestReadBack).
inline constexpr int kReadBack = 20;
}  // namespace linkcmd

// Answer codes: wParam of WM_LINK_RESULT. What success is for each is LinkAnswer's to say.
enum class LinkResult : int {
    Scanned = 0,
    Identified = 1,
    Uploaded = 2,
    OneByte = 5,
    EventsRead = 7,
    Command17Sent = 8,
    Command18Sent = 10,
    ReadBack = 11,  // value: ReadBack's code
};
