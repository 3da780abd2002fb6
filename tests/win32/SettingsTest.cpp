// The registry store: what it keeps under the program's key, in which type, and what it
// gives back, as the Qt backend's store does.
#include <gtest/gtest.h>

#include "ui/win32/Testing.h"

namespace {

constexpr const wchar_t* kSectionKey = L"Software\\Miltra\\win32_unit_tests\\Setting";

std::wstring RawText(const wchar_t* name) {
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    RegGetValueW(HKEY_CURRENT_USER, kSectionKey, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

}  // namespace

TEST(Settings, RegistryValuesRoundTrip) {
    ui::ClearSettings();
    // Nothing there: the fallbacks.
    EXPECT_EQ(ui::GetProfileString("Setting", "Language", "English"), "English");
    EXPECT_EQ(ui::GetProfileInt("Setting", "Protocol DSC", 7), 7);

    // Texts are Windows-1252 in the program and UTF-16 in the registry, where other tools
    // read them.
    const std::string text =
        "Gr\xFC\xDF"
        "e \x80 \x9C";
    ui::WriteProfileString("Setting", "Language", text);
    EXPECT_EQ(ui::GetProfileString("Setting", "Language", ""), text);
    EXPECT_EQ(RawText(L"Language"), L"Gr\u00FC\u00DFe \u20AC \u0153");
    ui::WriteProfileString("Setting", "Empty", "");
    EXPECT_EQ(ui::GetProfileString("Setting", "Empty", "fallback"), "");

    // Numbers are DWORDs; read as text they are the number written.
    ui::WriteProfileInt("Setting", "Baud", 115200);
    ui::WriteProfileInt("Setting", "Offset", -3);
    DWORD raw = 0;
    DWORD size = sizeof raw;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kSectionKey, L"Baud", RRF_RT_REG_DWORD, nullptr, &raw,
                           &size),
              ERROR_SUCCESS);
    EXPECT_EQ(raw, 115200u);
    EXPECT_EQ(ui::GetProfileInt("Setting", "Baud", 0), 115200);
    EXPECT_EQ(ui::GetProfileString("Setting", "Baud", ""), "115200");
    EXPECT_EQ(ui::GetProfileInt("Setting", "Offset", 0), -3);
    EXPECT_EQ(ui::GetProfileString("Setting", "Offset", ""), "-3");
    // A number written as text counts only when it is all digits.
    ui::WriteProfileString("Setting", "Port", "42");
    ui::WriteProfileString("Setting", "Name", "42x");
    EXPECT_EQ(ui::GetProfileInt("Setting", "Port", 0), 42);
    EXPECT_EQ(ui::GetProfileInt("Setting", "Name", 5), 5);

    ui::ClearSettings();
    EXPECT_EQ(ui::GetProfileString("Setting", "Language", "none"), "none");
}
