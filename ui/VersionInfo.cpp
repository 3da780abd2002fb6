#include "ui/VersionInfo.h"

#include <cstdio>

std::string FormatVersion(std::uint32_t fileVersionMS) {
    char text[24];
    std::snprintf(text, sizeof text, "%d.%02d", static_cast<int>(fileVersionMS >> 16),
                  static_cast<int>(fileVersionMS & 0xFFFF));
    return text;
}

std::string MissingVersionText(const std::string& name) {
    return " 0 " + name;
}
