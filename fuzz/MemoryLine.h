// A serial line fed from memory for the fuzzers. Bytes arrive in chunks; a read gathers
// across chunks as a driver's read does while bytes keep coming in time, and ends (as a
// time-out) only when the input is used up.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "link/SerialLine.h"

class MemoryLine : public SerialLine {
  public:
    MemoryLine(const std::uint8_t* data, std::size_t size, std::vector<std::size_t> chunks = {})
        : m_data(data, data + size), m_chunks(std::move(chunks)) {}

    bool Open(int) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    void Configure() override {}
    void SetTimeouts(const CommTimeouts&) override {}
    bool Write(const std::uint8_t*, std::size_t) override { return true; }
    void Abort() override {}
    void ClearAbort() override {}

    int Read(std::uint8_t* buffer, std::size_t count) override {
        std::size_t got = 0;
        while (got < count && m_at < m_data.size()) {
            // One chunk at a time, as the bytes would come in.
            const std::size_t chunk = NextChunk();
            const std::size_t n = std::min({count - got, chunk, m_data.size() - m_at});
            std::memcpy(buffer + got, &m_data[m_at], n);
            got += n;
            m_at += n;
        }
        return static_cast<int>(got);
    }

  private:
    std::size_t NextChunk() {
        if (m_chunks.empty()) return m_data.size();
        const std::size_t c = m_chunks[m_next++ % m_chunks.size()];
        return c ? c : 1;
    }

    std::vector<std::uint8_t> m_data;
    std::vector<std::size_t> m_chunks;
    std::size_t m_at = 0;
    std::size_t m_next = 0;
};
