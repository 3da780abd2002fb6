// Prints, as one line of hex, the image an untouched local session with the simulator's
// default unit uploads in English, built without the tool's own image builder: what
// scripts/wine-wizard expects the unit to receive from Qubset.exe under Wine.
#include <cstdio>

#include "device/Bytes.h"
#include "device/Layout.h"
#include "sim/Unit.h"
#include "tests/support/ExpectedImage.h"

using namespace layout;

int main() {
    const sim::Unit unit = sim::DefaultUnit();
    std::vector<std::uint8_t> settings = sim::SettingsReply(unit);
    settings.resize(kSettingsCopySize);
    settings[kTamperEventFlags] |= kTamperUploaded;
    WriteLE16(&settings[kLanguageCode], 0x0409);
    for (const std::uint8_t b : ExpectedImage(settings, UnitTexts(unit, 41)))
        std::printf("%02x", b);
    std::printf("\n");
    return 0;
}
