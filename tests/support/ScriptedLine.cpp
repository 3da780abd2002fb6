#include "tests/support/ScriptedLine.h"

#include <algorithm>

#include "link/FrameCodec.h"

std::vector<std::uint8_t> FrameBytes(const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> bytes(payload.size() + frame::kOverhead);
    frame::Encode(payload.data(), payload.size(), bytes.data());
    return bytes;
}

void ScriptedLine::QueueFrame(const std::vector<std::uint8_t>& payload) {
    Queue(FrameBytes(payload));
}

bool ScriptedLine::Open(int comNumber) {
    openAttempts.push_back(comNumber);
    open = comNumber == presentPort;
    return open;
}

int ScriptedLine::Read(std::uint8_t* buffer, std::size_t count) {
    ++readCalls;
    if (!open || aborted) return -1;
    if (incoming.empty() && hangUpWhenEmpty) return -1;
    const std::size_t n = std::min(count, incoming.size());
    std::copy_n(incoming.begin(), n, buffer);
    incoming.erase(incoming.begin(), incoming.begin() + static_cast<long>(n));
    if (n < count && hangUpWhenEmpty) return -1;
    return static_cast<int>(n);
}

bool ScriptedLine::Write(const std::uint8_t* buffer, std::size_t count) {
    if (!open || aborted || failWrites) return false;
    writes.emplace_back(buffer, buffer + count);
    if (onWrite) onWrite(writes.back());
    return true;
}
