// The wire trace for support: every frame sent and received, each exchange's result and each
// port that was there but could not be opened, appended to one text file. Lines are made on
// the link worker's thread and written by a thread of the trace's own, so the disk never
// holds up an exchange. The file stays within kMaxBytes: when it passes that, its older half
// is dropped.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "link/SerialLine.h"
#include "link/Timeouts.h"

class WireTrace {
  public:
    WireTrace();
    ~WireTrace();
    WireTrace(const WireTrace&) = delete;
    WireTrace& operator=(const WireTrace&) = delete;

    // Appends to `path` from now on; false (with the system's reason) when it cannot be
    // written. Called once, before the first line.
    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return m_writer.joinable(); }

    // A whole frame as it was handed to the line, and whether the line took it.
    void Sent(int comNumber, const std::uint8_t* frame, std::size_t size, bool written);
    // A receive for `command`: the header bytes and body bytes that arrived, and its outcome
    // (the payload length, or a negative receive code).
    void Received(int comNumber, int command, const std::uint8_t* header, std::size_t headerSize,
                  const std::uint8_t* body, std::size_t bodySize, int outcome);
    // The outcome of one exchange: `what` names it.
    void Result(int comNumber, std::string_view what, std::intptr_t result);
    void OpenFailed(const OpenFailure& failure);

    static constexpr std::size_t kMaxBytes = std::size_t{8} << 20;
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
    void DropOlderHalf();

    SerialClock::time_point m_start;
    std::string m_line;  // the line being made (link worker's thread)

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_pending;
    bool m_stopping = false;

    // The writer thread's own.
    std::FILE* m_file = nullptr;
    std::string m_path;
    std::size_t m_size = 0;
    std::thread m_writer;
};
