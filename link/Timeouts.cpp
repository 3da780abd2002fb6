#include "link/Timeouts.h"

#include <algorithm>

using std::chrono::milliseconds;

namespace {
constexpr std::uint32_t kBodyWaitMs = 100;
constexpr std::uint32_t kWriteMultiplierMs = 10;
constexpr std::uint32_t kWriteConstantMs = 100;
}  // namespace

CommTimeouts StartPhaseTimeouts(std::uint32_t startTimeoutMs) {
    return {startTimeoutMs, kBodyWaitMs, startTimeoutMs, kWriteMultiplierMs, kWriteConstantMs};
}

CommTimeouts BodyPhaseTimeouts() {
    return {kBodyWaitMs, kBodyWaitMs, kBodyWaitMs, kWriteMultiplierMs, kWriteConstantMs};
}

ReadDeadline::ReadDeadline(const CommTimeouts& timeouts, std::size_t wanted,
                           SerialClock::time_point start)
    : m_interval(timeouts.readInterval) {
    if (timeouts.readTotalMultiplier || timeouts.readTotalConstant) {
        const auto total =
            std::uint64_t{timeouts.readTotalMultiplier} * wanted + timeouts.readTotalConstant;
        m_total = start + milliseconds(total);
    }
}

void ReadDeadline::BytesArrived(SerialClock::time_point now) {
    m_lastByte = now;
}

std::optional<milliseconds> ReadDeadline::Remaining(SerialClock::time_point now) const {
    std::optional<SerialClock::time_point> due = m_total;
    if (m_interval.count() && m_lastByte) {
        const auto intervalDue = *m_lastByte + m_interval;
        due = due ? std::min(*due, intervalDue) : intervalDue;
    }
    if (!due) return std::nullopt;
    if (*due <= now) return milliseconds(0);
    // Round up so that a wait never ends before its deadline.
    return std::chrono::ceil<milliseconds>(*due - now);
}

SerialClock::time_point WriteDeadline(const CommTimeouts& timeouts, std::size_t bytes,
                                      SerialClock::time_point start) {
    const auto total =
        std::uint64_t{timeouts.writeTotalMultiplier} * bytes + timeouts.writeTotalConstant;
    return start + milliseconds(total);
}
