// Any bytes as a string-table reply: every slot keeps its text inside its bounds, and what is
// read back through the accessors is what the reply held, cut to the slot.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "device/DeviceData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static DeviceData d;
    d.identReply[layout::kIdentVersionByte] = data[0];
    UnpackStringTable(d, data + 1, size - 1);
    std::size_t at = 1;
    const int last =
        data[0] >= layout::kVersionWithEndTexts ? layout::kSlotCount : layout::kSlotsAlwaysSent;
    for (int n = 1; n <= last; ++n) {
        const auto slot = d.slot(n);
        const bool whole = layout::FillsWholeSlot(n);
        if (!whole && std::find(slot.begin(), slot.end(), 0) == slot.end()) std::abort();
        // The slot's text is the reply's text, cut to the room the slot has.
        const auto* begin = data + std::min(at, size);
        const auto* end = std::find(begin, data + size, 0);
        const std::string sent(begin, end);
        const std::size_t room = slot.size() - (whole ? 0 : 1);
        if (d.slotText(n) != sent.substr(0, room)) std::abort();
        at += sent.size() + 1;
    }
    return 0;
}
