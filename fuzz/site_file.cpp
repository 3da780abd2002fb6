// Any text as a site file: read or refused with a reason; what is read writes back to a text
// that reads the same; laid over a record, it is applied whole or leaves the record as it was.
#include <cstdlib>
#include <memory>
#include <string_view>

#include "device/DeviceData.h"
#include "site/SiteFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    site::Opened opened;
    std::string error;
    if (!site::ParseSiteFile(text, &opened, &error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    const std::string written = site::Serialize(opened.file);
    site::Opened again;
    if (!site::ParseSiteFile(written, &again, &error) ||
        again.soundness != site::Soundness::Sound || site::Serialize(again.file) != written)
        std::abort();

    static const auto unit = [] {
        auto d = std::make_unique<DeviceData>();
        d->identReply[layout::kIdentVersionByte] = layout::kVersionWithEndTexts;
        d->setSlotText(layout::kSlotApnLogin, "internet,user:secret");
        return d;
    }();
    auto record = std::make_unique<DeviceData>(*unit);
    const site::ApplyReport report = site::ApplyToRecord(*record, opened.file);
    if (report.refusal != site::ApplyReport::Refusal::None &&
        (record->settingsBlock != unit->settingsBlock || record->stringTable != unit->stringTable))
        std::abort();
    return 0;
}
