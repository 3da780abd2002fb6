// Any 108 bytes as the modem's information block: every line of the modem dialog is bounded
// by its field, whatever the bytes.
#include <cstdlib>
#include <cstring>

#include "device/DeviceData.h"
#include "transfer/InfoDlg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static DeviceData d;
    d.infoBlock.fill(0);
    std::memcpy(d.infoBlock.data(), data, std::min(size, layout::kInfoBlockSize));
    const InfoLines lines = DecodeInfo(d);
    if (lines.op.size() > 10 + 20 || lines.firmware.size() > 10 + 8) std::abort();
    if (lines.identity.size() > 48 + 5 + 24) std::abort();
    if (lines.signal < 0 || lines.signal > 32) std::abort();
    return 0;
}
