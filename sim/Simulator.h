// The simulated communicator, on a pseudo-terminal or an in-memory cable: it serves every
// device command of the wire protocol, keeps what is uploaded, plays the remote-dial sequence
// and shows faults on demand. Tests use it in-process; qubrin-sim wraps it in a command line.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/SerialLine.h"
#include "sim/Faults.h"
#include "sim/Unit.h"
#include "sim/UnitEnd.h"

namespace sim {

struct CableState;

struct Options {
    bool pace = false;  // take and send bytes no faster than 115200 baud 8N1
    std::string remotePassword = "1234";
    std::chrono::milliseconds dialDelay{2000};   // silence while the remote unit is rung
    std::chrono::milliseconds statusGap{300};    // between two status bytes of a dial
    std::chrono::milliseconds replugDelay{300};  // a hung-up line comes back after this
    std::chrono::milliseconds frameIdle{200};    // a request that stops halfway is dropped
    std::string statePath;                       // load from and save uploads to
    std::string uploadsPath;                     // every accepted image, a line of hex each
    std::vector<Unkept> unkept;                  // parts of an upload the unit does not keep
    // A bench: after the disconnect that follows an accepted upload, the next of these is the
    // unit on the line.
    std::vector<Unit> bench;
};

// One request frame as the unit received it.
struct Request {
    std::uint8_t command = 0;
    std::vector<std::uint8_t> payload;  // the whole payload, command byte included
    bool remote = false;                // served by the remote unit
};

class Simulator {
  public:
    explicit Simulator(Options options = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

#ifndef _WIN32
    // Makes a pseudo-terminal, puts a symlink to it at `linkPath` and serves it on a thread
    // of its own. False (with `error` set) when any step fails.
    bool Start(const std::string& linkPath, std::string* error = nullptr);
#endif
    // Serves the unit on an in-memory cable instead, on a thread of its own.
    bool StartInMemory(std::string* error = nullptr);
    // The tool's end of the in-memory cable, as COM<comNumber>.
    std::unique_ptr<SerialLine> MemoryCable(int comNumber) const;
    void Stop();

    // The cable. Unplug closes the line (the tool's reads fail) and removes the link;
    // Plug makes a new line at the same path.
    void Unplug();
    bool Plug();

    void AddFault(const Fault& fault);
    void ClearFaults();
    void AddUnkept(const Unkept& part);

    Unit Local() const;
    Unit Remote() const;
    void SetLocal(const Unit& unit);
    void SetRemote(const Unit& unit);

    std::vector<Request> Requests() const;
    std::size_t RequestCount(std::uint8_t command) const;
    // Every configuration image the unit accepted, in order.
    std::vector<std::vector<std::uint8_t>> AcceptedUploads() const;
    bool InRemoteSession() const;

  private:
    using Clock = std::chrono::steady_clock;
    enum class Control { None, Unplug, Plug, Stop };

    struct Output {
        Clock::time_point start;
        std::vector<std::uint8_t> bytes;
        std::size_t sent = 0;
        bool hangUpAfter = false;
    };
    struct ScheduledStatus {
        Clock::time_point at;
        std::int8_t status;
    };

    bool Serve(std::unique_ptr<UnitEnd> end, std::string* error);
    void Run();
    void CloseLine();
    void RunControl(Control control);
    std::optional<Clock::duration> NextWait(Clock::time_point now) const;
    void ReadLine(Clock::time_point now);
    void FeedByte(std::uint8_t byte, Clock::time_point now);
    void HandleFrame(Clock::time_point ready);
    std::vector<std::uint8_t> Answer(Unit& unit, const std::vector<std::uint8_t>& request,
                                     Clock::time_point ready);
    void StartDial(const std::vector<std::uint8_t>& request, Clock::time_point ready);
    void Send(std::vector<std::uint8_t> payload, Phase phase, Clock::time_point ready);
    void SendDueStatuses(Clock::time_point now);
    void WriteDue(Clock::time_point now);
    Clock::duration ByteTime() const;

    Options m_options;
    std::shared_ptr<CableState> m_cable;

    // Owned by the serving thread.
    std::unique_ptr<UnitEnd> m_end;
    std::vector<std::uint8_t> m_frame;
    std::size_t m_frameWanted = 0;
    Clock::time_point m_frameFirstByte{};
    Clock::time_point m_frameLastByte{};
    std::deque<Output> m_out;
    Clock::time_point m_lineFreeAt{};
    bool m_writeBlocked = false;  // the tool is not reading; wait until the line takes more
    std::deque<ScheduledStatus> m_statuses;
    Clock::time_point m_replugAt = Clock::time_point::max();
    bool m_identifyAsVersion40 = false;
    bool m_uploadedToLocal = false;  // since the last disconnect
    std::size_t m_nextOnBench = 0;

    // Shared with the callers.
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;  // a control request has been carried out
    Unit m_local;
    Unit m_remote;
    FaultSet m_faults;
    std::vector<Request> m_requests;
    std::vector<std::vector<std::uint8_t>> m_uploads;
    bool m_remoteSession = false;
    Control m_control = Control::None;
    bool m_controlOk = false;

    std::thread m_thread;
};

}  // namespace sim
