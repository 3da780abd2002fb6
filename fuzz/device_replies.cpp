// Well-framed replies with arbitrary payloads (the checksum repaired, so the payload handling
// is reached) for every exchange: each ends with one of its own codes and stays in bounds.
#include <algorithm>
#include <cstdlib>
#include <span>
#include <vector>

#include "device/DeviceData.h"
#include "fuzz/MemoryLine.h"
#include "link/DeviceCommands.h"
#include "link/FrameCodec.h"
#include "link/SerialPort.h"

namespace {

// Splits the input into up to three payloads at 0xFF 0xFE markers and frames each.
std::vector<std::uint8_t> Frames(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> stream;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        const bool cut = i + 1 < size && data[i] == 0xFF && data[i + 1] == 0xFE;
        if (i < size && !cut) continue;
        const std::size_t n = i - start;
        std::vector<std::uint8_t> frame(n + frame::kOverhead);
        frame::Encode(data + start, n, frame.data());
        stream.insert(stream.end(), frame.begin(), frame.end());
        start = i + 2;
        ++i;
    }
    return stream;
}

// Every slot keeps a terminator inside it, but a supervisor code, which may fill its slot.
bool Bounded(int number, std::span<const std::uint8_t> slot) {
    return layout::FillsWholeSlot(number) || std::find(slot.begin(), slot.end(), 0) != slot.end();
}

bool In(int v, std::initializer_list<int> allowed) {
    for (int a : allowed)
        if (v == a) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::vector<std::uint8_t> stream = Frames(data + 1, size - 1);
    static DeviceData d;
    d.identReply[layout::kIdentVersionByte] = data[0];
    auto run = [&](auto exchange) {
        MemoryLine line(stream.data(), stream.size());
        SerialPort port(line);
        return exchange(port);
    };
    const int identify = run([&](SerialPort& p) { return Identify(p, d); });
    if (!In(identify, {0, -1, -2, -3, -101, -102})) std::abort();
    for (int n = 1; n <= layout::kSlotCount; ++n)
        if (!Bounded(n, d.slot(n))) std::abort();
    const int events = run([&](SerialPort& p) { return ReadEvents(p, d); });
    if (events != -6 && events != -1 && (events < 100 || events > 16384)) std::abort();
    d.uploadLength = 1;
    const int upload = run([&](SerialPort& p) { return SendConfiguration(p, d); });
    if (!In(upload, {0, -1, -2, -3})) std::abort();
    const int dial = run([&](SerialPort& p) { return SendDialRequest(p, d); });
    if (!In(dial, {0, 8})) std::abort();
    const int status = run([](SerialPort& p) { return WaitStatus(p); });
    if (status < -128 || status > 127) std::abort();
    return 0;
}
