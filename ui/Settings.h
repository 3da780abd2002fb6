// The per-user settings store: named values in sections, as the registry keeps them under
// Software\Miltra\<program name> on Windows. Texts are in the code page.
// Each backend owes all of it, in its Settings.cpp.
#pragma once

#include <string>
#include <string_view>

namespace ui {

std::string GetProfileString(std::string_view section, std::string_view entry,
                             std::string_view fallback);
void WriteProfileString(std::string_view section, std::string_view entry, std::string_view value);
int GetProfileInt(std::string_view section, std::string_view entry, int fallback);
void WriteProfileInt(std::string_view section, std::string_view entry, int value);

}  // namespace ui
