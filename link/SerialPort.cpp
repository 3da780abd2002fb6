#include "link/SerialPort.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>

#include "link/FrameCodec.h"
#include "link/WireTrace.h"

void SerialPort::StartSearch() {
    m_line.Rescan();
    m_openFailures.clear();
}

bool SerialPort::Open(int n) {
    if (!m_line.Open(n)) {
        NoteOpenFailure();
        return false;
    }
    m_openCom = n;
    m_line.Configure();
    m_line.SetTimeouts(kOpenTimeouts);
    return true;
}

void SerialPort::NoteOpenFailure() {
    OpenFailure failure = m_line.LastOpenFailure();
    if (failure.fault == PortFault::None) return;
    if (m_trace) m_trace->OpenFailed(failure);
    m_openFailures.push_back(std::move(failure));
}

void SerialPort::Close() {
    m_line.Close();
    m_openCom = 0;
}

void SerialPort::TraceAnswer(int command, int code, std::intptr_t value) {
    if (!m_trace) return;
    TraceResult("link command " + std::to_string(command) + " answer " + std::to_string(code),
                value);
}

void SerialPort::TraceResult(std::string_view what, std::intptr_t value) {
    if (m_trace) m_trace->Result(m_openCom, what, value);
}

int SerialPort::SendFrame(const std::uint8_t* payload, std::size_t length) {
    if (length > frame::kMaxPayload) return 0;
    const std::size_t size = length + frame::kOverhead;
    std::unique_ptr<std::uint8_t[]> out(new (std::nothrow) std::uint8_t[size]);
    if (!out) return 0;
    frame::Encode(payload, length, out.get());
    m_lastCommand = length ? payload[0] : -1;
    const bool written = m_line.Write(out.get(), size);
    if (m_trace) m_trace->Sent(m_openCom, out.get(), size, written);
    m_byteCount = written ? static_cast<std::uint32_t>(size) : 0;
    return written ? 1 : 0;
}

int SerialPort::FindStartByte(std::uint32_t startTimeoutMs) {
    m_line.SetTimeouts(StartPhaseTimeouts(startTimeoutMs));
    for (std::size_t skipped = 0; skipped <= kMaxSkippedBytes; ++skipped) {
        std::uint8_t byte = 0;
        const int n = m_line.Read(&byte, 1);
        if (n != 1) return rx::kNoStart;
        if (byte == frame::kStart) return 0;
    }
    return rx::kNoStart;
}

int SerialPort::ReceiveFrame(std::uint8_t* buffer, std::size_t maxLength,
                             std::uint32_t startTimeoutMs) {
    std::uint8_t header[frame::kHeaderSize] = {frame::kStart, 0, 0};
    if (const int r = FindStartByte(startTimeoutMs); r < 0) return Traced(header, 0, buffer, 0, r);

    m_line.SetTimeouts(BodyPhaseTimeouts());
    const int lengthBytes = m_line.Read(header + 1, 2);
    if (lengthBytes != 2)
        return Traced(header, 1 + static_cast<std::size_t>(std::max(lengthBytes, 0)), buffer, 0,
                      rx::kNoLength);
    const std::size_t length = header[1] | (header[2] << 8);
    if (length > maxLength) return Traced(header, sizeof header, buffer, 0, rx::kTooLong);

    const int got = m_line.Read(buffer, length + 1);
    if (got < 0) return Traced(header, sizeof header, buffer, 0, rx::kReadFailed);
    m_byteCount = static_cast<std::uint32_t>(got);
    const auto body = static_cast<std::size_t>(got);
    if (body < length + 1) return Traced(header, sizeof header, buffer, body, rx::kShort);
    const int outcome = frame::Checksum(buffer, length) == buffer[length] ? static_cast<int>(length)
                                                                          : rx::kChecksum;
    return Traced(header, sizeof header, buffer, body, outcome);
}

int SerialPort::Traced(const std::uint8_t* header, std::size_t headerSize, const std::uint8_t* body,
                       std::size_t bodySize, int outcome) {
    if (m_trace)
        m_trace->Received(m_openCom, m_lastCommand, header, headerSize, body, bodySize, outcome);
    return outcome;
}
