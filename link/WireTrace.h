// The wire trace for support: every frame sent and received, each exchange's result and each
// port that was there but could not be opened, appended to one text file. Secrets (the named
// fields marked so) are masked unless the trace is opened to show them. Lines are made on the
// link worker's thread and written by a thread of the trace's own, so the disk never holds up
// an exchange. Past kMaxBytes the file is renamed to "<name>.1" and a new one started; a
// failed write ends the trace with one message and leaves what was written.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/SerialLine.h"
#include "link/Timeouts.h"
#include "link/TraceFile.h"

class WireTrace {
  public:
    WireTrace();
    ~WireTrace();
    WireTrace(const WireTrace&) = delete;
    WireTrace& operator=(const WireTrace&) = delete;

    enum class Secrets { Masked, Shown };
    // Appends to `path` from now on; false (with the reason) when it cannot be written or is
    // an existing file that is not a trace. Called once, before the first line.
    bool Open(const std::filesystem::path& path, std::string* error,
              Secrets secrets = Secrets::Masked);
    bool IsOpen() const { return m_writer.joinable() && !m_stopped; }

    // A whole frame as it was handed to the line, and whether the line took it.
    void Sent(int comNumber, const std::uint8_t* frame, std::size_t size, bool written);
    // A receive for `command`: the header bytes and body bytes that arrived, and its outcome
    // (the payload length, or a negative receive code).
    void Received(int comNumber, int command, const std::uint8_t* header, std::size_t headerSize,
                  const std::uint8_t* body, std::size_t bodySize, int outcome);
    // The outcome of one exchange: `what` names it.
    void Result(int comNumber, std::string_view what, std::intptr_t result);
    void OpenFailed(const OpenFailure& failure);

    static constexpr std::size_t kMaxBytes = std::size_t{4} << 20;
    // The first bytes of every trace file: the trace never writes to a file without them.
    static constexpr std::string_view kSignature = "# wire trace ";
    // Lines waiting for the disk; a line that would pass this waits until they are written.
    static constexpr std::size_t kMaxPending = std::size_t{1} << 20;

  private:
    void Begin(std::string_view direction, int comNumber);
    void AppendHex(const std::uint8_t* bytes, std::size_t size);
    void AppendNumber(std::intptr_t value);
    // Hands the line made in m_line to the writer.
    void Post();
    // The writer thread: writes what is pending until the trace is destroyed.
    void WriteLoop();
    // Ends the trace after a failed write: one message, nothing more written.
    void Stop(const std::string& why);
    // The frame bytes to show: `bytes` itself, or a masked copy when it holds secrets.
    const std::uint8_t* Shown(const std::uint8_t* bytes, std::size_t size, std::size_t payloadAt,
                              std::size_t payloadSize, int replyTo);

    SerialClock::time_point m_start;
    Secrets m_secrets = Secrets::Masked;
    std::string m_line;                  // the line being made (link worker's thread)
    std::vector<std::uint8_t> m_masked;  // a frame's copy with its secrets masked
    std::atomic<bool> m_stopped = false;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_pending;
    bool m_stopping = false;

    TraceFile m_file;    // the writer thread's own once it runs
    std::string m_path;  // for the message that ends it
    std::thread m_writer;
};
