// One serial line, as the operating system offers it. One implementation per platform
// (posix/, win32/); tests add in-memory lines. Only the link worker's thread calls it, except
// Abort, which any thread may call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/PortNames.h"
#include "link/Timeouts.h"

// Why a port that is there could not be had. Ports with nothing behind them are not failures.
enum class PortFault { None, Denied, InUse, Gone, Other };

struct OpenFailure {
    int comNumber = 0;
    PortFault fault = PortFault::None;
    int osError = 0;       // errno, or GetLastError on Windows
    std::string device;    // the path behind the COM number, where the platform has one
    std::string group;     // Denied: the group allowed to open the device, when it is known
    std::string holder{};  // InUse: the program that holds it, when it can be found
    int holderPid = 0;
    bool holderProbes = false;  // the holder is a service that probes serial adapters
};

class SerialLine {
  public:
    virtual ~SerialLine() = default;

    // Refreshes the set of ports before a search (devices come and go).
    virtual void Rescan() {}
    // The ports above COM19 that exist now, lowest first; read after Rescan.
    virtual std::vector<int> FurtherPorts() const { return {}; }
    // Opens COM<comNumber> for exclusive read/write. False when there is no such port or it
    // cannot be had; that costs no waiting.
    virtual bool Open(int comNumber) = 0;
    // Why the last Open failed, as the operating system reported it; fault None after a
    // success or when the port does not exist.
    virtual OpenFailure LastOpenFailure() const { return {}; }
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // 115200 baud 8N1, DTR on, RTS off, no flow control. Its outcome is not checked.
    virtual void Configure() = 0;
    virtual void SetTimeouts(const CommTimeouts& timeouts) = 0;
    // Reads up to `count` bytes within the time-outs: the number read (0 when none came in
    // time), or -1 when the read call failed.
    virtual int Read(std::uint8_t* buffer, std::size_t count) = 0;
    // Writes all `count` bytes within the write time-outs, or fails.
    virtual bool Write(const std::uint8_t* buffer, std::size_t count) = 0;

    // Makes a read or write in progress, and every later one, fail at once until ClearAbort.
    virtual void Abort() = 0;
    virtual void ClearAbort() = 0;
};

// The line of the platform the tool was built for.
// `ports` is used where the platform names serial ports by path.
std::unique_ptr<SerialLine> MakePlatformSerialLine(const PortSettings& ports);
