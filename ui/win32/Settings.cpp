// The settings store: the registry under HKCU\Software\Miltra\<program name>, a key per
// section; texts as REG_SZ, numbers as REG_DWORD, as the Qt backend's store keeps them there.
#include <filesystem>

#include "ui/win32/Testing.h"
#include "ui/win32/Text.h"

namespace ui {

namespace {

// The program's name: the executable's file name without its extension.
std::wstring ProgramName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).stem().wstring();
}

std::wstring ProgramKey() {
    return L"Software\\Miltra\\" + ProgramName();
}

std::wstring SectionKey(std::string_view section) {
    return ProgramKey() + L"\\" + WidenAnsi(section);
}

// A value's type and bytes; false when it is not there.
bool ReadValue(std::string_view section, std::string_view entry, DWORD& type,
               std::vector<BYTE>& data) {
    const std::wstring key = SectionKey(section);
    const std::wstring name = WidenAnsi(entry);
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY, &type, nullptr,
                     &size) != ERROR_SUCCESS)
        return false;
    data.assign(size, 0);
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY, &type, data.data(),
                     &size) != ERROR_SUCCESS)
        return false;
    data.resize(size);
    return true;
}

void WriteValue(std::string_view section, std::string_view entry, DWORD type, const void* data,
                DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, WidenAnsi(entry).c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

std::wstring TextOf(const std::vector<BYTE>& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::copy(data.begin(), data.begin() + static_cast<long>(text.size() * sizeof(wchar_t)),
              reinterpret_cast<BYTE*>(text.data()));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

}  // namespace

std::string GetProfileString(std::string_view section, std::string_view entry,
                             std::string_view fallback) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadValue(section, entry, type, data)) return std::string(fallback);
    if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        std::copy(data.begin(), data.end(), reinterpret_cast<BYTE*>(&number));
        return std::to_string(static_cast<int>(number));  // as GetProfileInt reads it
    }
    return type == REG_SZ || type == REG_EXPAND_SZ ? NarrowAnsi(TextOf(data))
                                                   : std::string(fallback);
}

void WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
    const std::wstring text = WidenAnsi(value);
    WriteValue(section, entry, REG_SZ, text.c_str(),
               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

int GetProfileInt(std::string_view section, std::string_view entry, int fallback) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadValue(section, entry, type, data)) return fallback;
    if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        std::copy(data.begin(), data.end(), reinterpret_cast<BYTE*>(&number));
        return static_cast<int>(number);
    }
    if (type != REG_SZ) return fallback;
    // A number written as text counts when it is all digits, as the Qt store reads it.
    const std::wstring text = TextOf(data);
    wchar_t* end = nullptr;
    const long number = wcstol(text.c_str(), &end, 10);
    return !text.empty() && end && *end == L'\0' ? static_cast<int>(number) : fallback;
}

void WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    const auto number = static_cast<DWORD>(value);
    WriteValue(section, entry, REG_DWORD, &number, sizeof number);
}

void ClearSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, ProgramKey().c_str());
}

}  // namespace ui
