#include "sim/MemoryCable.h"

#include <algorithm>
#include <atomic>

namespace sim {
namespace {

using namespace std::chrono;

// How long a hang-up waits for the tool to take what was sent before it.
constexpr milliseconds kDrainLimit{1000};

std::size_t Take(std::deque<std::uint8_t>& from, std::uint8_t* buffer, std::size_t count) {
    const std::size_t n = std::min(count, from.size());
    std::copy_n(from.begin(), n, buffer);
    from.erase(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

class MemoryUnitEnd : public UnitEnd {
  public:
    explicit MemoryUnitEnd(std::shared_ptr<CableState> cable) : m_cable(std::move(cable)) {}

    bool Open(std::string*) override {
        std::lock_guard lock(m_cable->mutex);
        m_cable->plugged = true;
        ++m_cable->plugging;
        return true;
    }

    void Close() override {
        std::lock_guard lock(m_cable->mutex);
        m_cable->plugged = false;
        m_cable->toUnit.clear();
        m_cable->toTool.clear();
        m_cable->changed.notify_all();
    }

    bool IsOpen() const override {
        std::lock_guard lock(m_cable->mutex);
        return m_cable->plugged;
    }

    Ready Wait(std::optional<Clock::duration> wait, bool) override {
        std::unique_lock lock(m_cable->mutex);
        auto due = [&] { return m_cable->woken || !m_cable->toUnit.empty(); };
        if (wait)
            m_cable->changed.wait_for(lock, *wait, due);
        else
            m_cable->changed.wait(lock, due);
        Ready ready{m_cable->woken, !m_cable->toUnit.empty(), true};
        m_cable->woken = false;
        return ready;
    }

    void Wake() override {
        std::lock_guard lock(m_cable->mutex);
        m_cable->woken = true;
        m_cable->changed.notify_all();
    }

    std::size_t Read(std::uint8_t* buffer, std::size_t count) override {
        std::lock_guard lock(m_cable->mutex);
        return Take(m_cable->toUnit, buffer, count);
    }

    std::size_t Write(const std::uint8_t* buffer, std::size_t count) override {
        std::lock_guard lock(m_cable->mutex);
        if (!m_cable->plugged) return 0;
        m_cable->toTool.insert(m_cable->toTool.end(), buffer, buffer + count);
        m_cable->changed.notify_all();
        return count;
    }

    void Drain() override {
        std::unique_lock lock(m_cable->mutex);
        m_cable->changed.wait_for(lock, kDrainLimit, [&] { return m_cable->toTool.empty(); });
    }

  private:
    std::shared_ptr<CableState> m_cable;
};

class MemoryLine : public SerialLine {
  public:
    MemoryLine(std::shared_ptr<CableState> cable, int comNumber)
        : m_cable(std::move(cable)), m_comNumber(comNumber) {}

    bool Open(int comNumber) override {
        std::lock_guard lock(m_cable->mutex);
        if (comNumber != m_comNumber || !m_cable->plugged) return false;
        m_open = true;
        m_plugging = m_cable->plugging;
        return true;
    }

    // A port above COM19 is there as a USB adapter's is: listed by the system.
    std::vector<int> FurtherPorts() const override {
        if (m_comNumber > kLastComPort) return {m_comNumber};
        return {};
    }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void Configure() override {}
    void SetTimeouts(const CommTimeouts& timeouts) override { m_timeouts = timeouts; }

    int Read(std::uint8_t* buffer, std::size_t count) override {
        ReadDeadline deadline(m_timeouts, count, SerialClock::now());
        std::unique_lock lock(m_cable->mutex);
        std::size_t got = 0;
        while (got < count) {
            if (!Usable()) return -1;
            if (const std::size_t n = Take(m_cable->toTool, buffer + got, count - got)) {
                got += n;
                deadline.BytesArrived(SerialClock::now());
                m_cable->changed.notify_all();  // a hang-up may be waiting for these
                continue;
            }
            const auto left = deadline.Remaining(SerialClock::now());
            if (left && left->count() == 0) break;
            auto arrived = [&] { return !Usable() || !m_cable->toTool.empty(); };
            if (left)
                m_cable->changed.wait_for(lock, *left, arrived);
            else
                m_cable->changed.wait(lock, arrived);
        }
        return static_cast<int>(got);
    }

    bool Write(const std::uint8_t* buffer, std::size_t count) override {
        std::lock_guard lock(m_cable->mutex);
        if (!Usable()) return false;
        m_cable->toUnit.insert(m_cable->toUnit.end(), buffer, buffer + count);
        m_cable->changed.notify_all();
        return true;
    }

    void Abort() override {
        std::lock_guard lock(m_cable->mutex);
        m_aborted = true;
        m_cable->changed.notify_all();
    }

    void ClearAbort() override {
        std::lock_guard lock(m_cable->mutex);
        m_aborted = false;
    }

  private:
    // Under the cable's mutex.
    bool Usable() const {
        return m_open && !m_aborted && m_cable->plugged && m_cable->plugging == m_plugging;
    }

    std::shared_ptr<CableState> m_cable;
    int m_comNumber;
    std::atomic<bool> m_open{false};
    bool m_aborted = false;  // under the cable's mutex
    unsigned m_plugging = 0;
    CommTimeouts m_timeouts = kOpenTimeouts;
};

}  // namespace

std::unique_ptr<UnitEnd> MakeMemoryUnitEnd(std::shared_ptr<CableState> cable) {
    return std::make_unique<MemoryUnitEnd>(std::move(cable));
}

std::unique_ptr<SerialLine> MakeMemoryLine(std::shared_ptr<CableState> cable, int comNumber) {
    return std::make_unique<MemoryLine>(std::move(cable), comNumber);
}

}  // namespace sim
