#include "link/SerialPort.h"

#include <memory>
#include <new>

#include "link/DeviceCommands.h"
#include "link/FrameCodec.h"

int SerialPort::FindDevice(DeviceData& data) {
    m_line.Rescan();
    for (int n = kFirstComPort; n <= kLastComPort; ++n) {
        if (!m_line.Open(n)) continue;
        m_line.Configure();
        m_line.SetTimeouts(kOpenTimeouts);
        if (Identify(*this, data) == 0) {
            m_comNumber = n;
            return n;
        }
        m_line.Close();
    }
    return 0;
}

void SerialPort::Close() { m_line.Close(); }

int SerialPort::SendFrame(const std::uint8_t* payload, std::size_t length) {
    if (length > frame::kMaxPayload) return 0;
    const std::size_t size = length + frame::kOverhead;
    std::unique_ptr<std::uint8_t[]> out(new (std::nothrow) std::uint8_t[size]);
    if (!out) return 0;
    frame::Encode(payload, length, out.get());
    const bool written = m_line.Write(out.get(), size);
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
    if (const int r = FindStartByte(startTimeoutMs); r < 0) return r;

    m_line.SetTimeouts(BodyPhaseTimeouts());
    std::uint8_t lengthBytes[2] = {};
    if (m_line.Read(lengthBytes, 2) != 2) return rx::kNoLength;
    const std::size_t length = lengthBytes[0] | (lengthBytes[1] << 8);
    if (length > maxLength) return rx::kTooLong;

    const int got = m_line.Read(buffer, length + 1);
    if (got < 0) return rx::kReadFailed;
    m_byteCount = static_cast<std::uint32_t>(got);
    if (static_cast<std::size_t>(got) < length + 1) return rx::kShort;
    if (frame::Checksum(buffer, length) != buffer[length]) return rx::kChecksum;
    return static_cast<int>(length);
}
