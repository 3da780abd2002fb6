// The unit's end of the cable, where the simulator takes requests and puts answers: a
// pseudo-terminal that the tool opens as a serial port, or an in-memory cable whose other end
// is a SerialLine in the same process. Only the serving thread calls it, except Wake.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace sim {

class UnitEnd {
  public:
    using Clock = std::chrono::steady_clock;
    struct Ready {
        bool woken = false;     // Wake was called
        bool readable = false;  // bytes have come in
        bool writable = false;  // the line takes more
    };

    virtual ~UnitEnd() = default;

    // Plugs the cable in, so the tool can open the line. False (with `error` set) on failure.
    virtual bool Open(std::string* error) = 0;
    // Pulls the cable: the tool's reads and writes fail, and what was on the way is lost.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Waits until woken, bytes come in or, with `wantWrite`, the line takes more; at most
    // `wait` (none: no limit).
    virtual Ready Wait(std::optional<Clock::duration> wait, bool wantWrite) = 0;
    virtual void Wake() = 0;
    // Takes what has come in without waiting: the count, 0 when nothing.
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t count) = 0;
    // Puts bytes out without waiting: the count taken, 0 when the line takes nothing now.
    virtual std::size_t Write(const std::uint8_t* buffer, std::size_t count) = 0;
    // Lets what was written reach the tool, for a moment at most, before a hang-up.
    virtual void Drain() = 0;
};

#ifndef _WIN32
// A pseudo-terminal whose slave is reached through a symlink at `linkPath`. Null (with
// `error` set) when the wake-up pipe cannot be made.
std::unique_ptr<UnitEnd> MakePtyEnd(const std::string& linkPath, std::string* error);
#endif

}  // namespace sim
