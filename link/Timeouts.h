// The serial time-outs, kept in the shape of the Win32 COMMTIMEOUTS record, and the deadline
// arithmetic that gives a read on any platform the waits Windows gives it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

struct CommTimeouts {
    std::uint32_t readInterval = 0;  // longest gap between two bytes, after the first
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;
};

// The time-outs set when a port is opened, before any receive changes them.
inline constexpr CommTimeouts kOpenTimeouts{0, 100, 5000, 10, 100};

// Start phase of a receive: the wait for the start byte.
CommTimeouts StartPhaseTimeouts(std::uint32_t startTimeoutMs);
// Body phase of a receive: length, payload and checksum.
CommTimeouts BodyPhaseTimeouts();

using SerialClock = std::chrono::steady_clock;

// One read of `wanted` bytes: a total deadline (multiplier x bytes + constant, when either is
// set) and an interval deadline that restarts with every byte once the first has arrived.
class ReadDeadline {
  public:
    ReadDeadline(const CommTimeouts& timeouts, std::size_t wanted, SerialClock::time_point start);

    void BytesArrived(SerialClock::time_point now);
    // Time left before the read must return; nullopt = no limit at all.
    std::optional<std::chrono::milliseconds> Remaining(SerialClock::time_point now) const;

  private:
    std::optional<SerialClock::time_point> m_total;
    std::chrono::milliseconds m_interval;
    std::optional<SerialClock::time_point> m_lastByte;
};

// The whole-write deadline: multiplier x bytes + constant.
SerialClock::time_point WriteDeadline(const CommTimeouts& timeouts, std::size_t bytes,
                                      SerialClock::time_point start);
