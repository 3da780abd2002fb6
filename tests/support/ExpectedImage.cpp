#include "tests/support/ExpectedImage.h"

#include "device/Bytes.h"

std::vector<std::uint8_t> ExpectedImage(std::vector<std::uint8_t> settings,
                                        const std::vector<std::string>& texts) {
    settings.resize(404, 0);
    std::vector<std::uint8_t> image{100};
    image.insert(image.end(), settings.begin(), settings.end());
    for (const auto& t : texts) {
        image.insert(image.end(), t.begin(), t.end());
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
