// The wire trace for support: every frame sent and received, each exchange's result and each
// port that was there but could not be opened, appended to one text file. Used only on the
// link worker's thread once opened. The file never grows far past kMaxBytes: when it passes
// that, its older half is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "link/SerialLine.h"
#include "link/Timeouts.h"

class WireTrace {
public:
    WireTrace();
    ~WireTrace();
    WireTrace(const WireTrace&) = delete;
    WireTrace& operator=(const WireTrace&) = delete;

    // Appends to `path` from now on; false (with the system's reason) when it cannot be written.
    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return m_file != nullptr; }
    const std::string& path() const { return m_path; }

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

private:
    void Begin(std::string_view direction, int comNumber);
    void AppendHex(const std::uint8_t* bytes, std::size_t size);
    void AppendNumber(std::intptr_t value);
    void Flush();
    void DropOlderHalf();

    std::FILE* m_file = nullptr;
    std::string m_path;
    std::size_t m_size = 0;
    std::string m_line;
    SerialClock::time_point m_start;
};
