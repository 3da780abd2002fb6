// Raw bytes into the frame receiver: every result is a length or a named code, every payload
// stays inside its buffer, and the results do not depend on how the bytes were split.
#include <cstdlib>
#include <vector>

#include "fuzz/MemoryLine.h"
#include "link/SerialPort.h"

namespace {

struct Outcome {
    int result;
    std::vector<std::uint8_t> payload;
    bool operator==(const Outcome&) const = default;
};

std::vector<Outcome> ReceiveAll(MemoryLine& line, std::size_t maxLength) {
    SerialPort port(line);
    std::vector<std::uint8_t> buffer(maxLength + 1);
    std::vector<Outcome> outcomes;
    for (int i = 0; i < 64; ++i) {
        const int r = port.ReceiveFrame(buffer.data(), maxLength, 200);
        if (r < rx::kChecksum || r > static_cast<int>(maxLength)) std::abort();
        outcomes.push_back({r, r >= 0
                                   ? std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + r)
                                   : std::vector<std::uint8_t>()});
        if (r == rx::kNoStart) break;
    }
    return outcomes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t maxLength = (data[0] << 4) | 5;  // 5 .. 4085
    const std::vector<std::size_t> chunks = {data[1] % 7u + 1, 1, data[1] % 13u + 1};
    MemoryLine whole(data + 2, size - 2);
    MemoryLine split(data + 2, size - 2, chunks);
    if (!(ReceiveAll(whole, maxLength) == ReceiveAll(split, maxLength))) std::abort();
    return 0;
}
