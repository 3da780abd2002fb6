// The port the communicator is on: opening it and the frame codec over the open line (the search
// over the ports is link/PortSearch.h). Used only on the link worker's thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "device/Layout.h"
#include "link/SerialLine.h"

class WireTrace;

// ReceiveFrame's failures, each naming the step that failed.
namespace rx {
inline constexpr int kNoStart = -1;
inline constexpr int kNoLength = -2;
inline constexpr int kTooLong = -3;
inline constexpr int kReadFailed = -4;
inline constexpr int kShort = -5;
inline constexpr int kChecksum = -6;
}  // namespace rx

class SerialPort {
  public:
    explicit SerialPort(SerialLine& line, WireTrace* trace = nullptr)
        : m_line(line), m_trace(trace) {}
    ~SerialPort() { Close(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // A search starts: the line looks for its ports again and the last search's open failures
    // are forgotten.
    void StartSearch();
    // Opens COM<n> with the time-outs of a first exchange; when it cannot, notes why in
    // openFailures() and the trace.
    bool Open(int n);
    // The open port is the one the communicator answered on: comNumber() names it from now on.
    void KeepOpen() { m_comNumber = m_openCom; }
    void Close();
    // Nonzero when the whole frame was written.
    int SendFrame(const std::uint8_t* payload, std::size_t length);
    // The payload length, or one of the rx codes. `buffer` must hold maxLength + 1 bytes: the
    // checksum lands behind the payload.
    int ReceiveFrame(std::uint8_t* buffer, std::size_t maxLength, std::uint32_t startTimeoutMs);

    int comNumber() const { return m_comNumber; }
    // The ports of the last search that were there but could not be opened, lowest first.
    // Written by the search; read it after the search has answered.
    const std::vector<OpenFailure>& openFailures() const { return m_openFailures; }
    // Frames and results go to `trace` from now on (nullptr: nowhere).
    void SetTrace(WireTrace* trace) { m_trace = trace; }
    // Notes what a link command answered, in the trace.
    void TraceAnswer(int command, int code, std::intptr_t value);
    // Notes a step's result on the open port, in the trace.
    void TraceResult(std::string_view what, std::intptr_t value);
    std::uint8_t* receiveBuffer() { return m_receiveBuffer.data(); }
    SerialLine& line() { return m_line; }

    // Line noise ahead of a start byte is skipped, but not without end: a line that only
    // ever sends noise ends the receive like a silent one.
    static constexpr std::size_t kMaxSkippedBytes = 65536;

  private:
    int FindStartByte(std::uint32_t startTimeoutMs);
    void NoteOpenFailure();
    // Hands a receive's outcome back, after noting it in the trace.
    int Traced(const std::uint8_t* header, std::size_t headerSize, const std::uint8_t* body,
               std::size_t bodySize, int outcome);

    SerialLine& m_line;
    WireTrace* m_trace;
    std::vector<OpenFailure> m_openFailures;
    int m_openCom = 0;       // the port open now, for the trace
    int m_lastCommand = -1;  // the command byte of the last frame sent, for the trace
    std::uint32_t m_byteCount = 0;
    std::array<std::uint8_t, layout::kStringReplyMax + layout::kChecksumSpare> m_receiveBuffer{};
    int m_comNumber = 0;
};
