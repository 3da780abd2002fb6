#include "tests/support/ExpectedImage.h"

#include <algorithm>

#include "device/Bytes.h"

std::vector<std::uint8_t> ExpectedImage(std::vector<std::uint8_t> settings,
                                        const std::vector<std::string>& texts) {
    settings.resize(404, 0);
    std::vector<std::uint8_t> image(1 + settings.size());
    image[0] = 100;
    std::copy(settings.begin(), settings.end(), image.begin() + 1);
    for (const auto& t : texts) {
        for (const char c : t) image.push_back(static_cast<std::uint8_t>(c));
        image.push_back(0);
    }
    WriteLE32(&image[1], 404);
    WriteLE32(&image[5], static_cast<std::uint32_t>(image.size() - 404));
    WriteLE32(&image[9], 0);
    return image;
}

std::vector<std::string> UnitTexts(const sim::Unit& unit, int count) {
    std::vector<std::string> texts;
    for (int n = 1; n <= count; ++n) texts.push_back(unit.record.slotText(n));
    return texts;
}
