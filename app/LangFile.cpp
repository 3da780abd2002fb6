#include "app/LangFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

namespace {

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The name of a section header line, or nullopt-like empty+false for other lines.
bool HeaderName(std::string_view line, std::string_view* name) {
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[') return false;
    const auto close = t.find(']');
    if (close == std::string_view::npos) return false;
    *name = Trim(t.substr(1, close - 1));
    return true;
}

}  // namespace

std::string SectionLine(std::string_view text, std::string_view section, std::size_t bufferSize) {
    bool inSection = false;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string_view name;
        if (HeaderName(line, &name)) {
            if (inSection) return {};  // the section had no line
            inSection = SameName(name, section);
            continue;
        }
        if (!inSection) continue;
        const std::string_view t = Trim(line);
        if (t.empty() || t.front() == ';') continue;
        const std::size_t keep = bufferSize >= 2 ? bufferSize - 2 : 0;
        return std::string(line.substr(0, std::min(line.size(), keep)));
    }
    return {};
}

std::string ReadSectionLine(const std::filesystem::path& path, std::string_view section,
                            std::size_t bufferSize) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0);
    std::string bytes(
        static_cast<std::size_t>(std::clamp<std::streamoff>(size, 0, kMaxLangFileBytes)), '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return SectionLine(bytes, section, bufferSize);
}

std::string LangText(const std::filesystem::path& langFile, std::string_view section,
                     std::size_t bufferSize) {
    return ReadSectionLine(langFile, section, bufferSize);
}

std::string WithArgument(std::string text, std::string_view value, std::string_view marker) {
    for (auto at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + value.size()))
        text.replace(at, marker.size(), value);
    return text;
}

std::string LangTextOr(const std::filesystem::path& langFile, std::string_view section,
                       std::string_view builtIn) {
    const std::string text = LangText(langFile, section);
    return text.empty() ? std::string(builtIn) : text;
}

bool ParseLangCode(std::string_view text, unsigned* code) {
    const std::string copy(text.substr(0, std::min<std::size_t>(text.size(), 64)));
    const char* begin = copy.c_str();
    char* end = nullptr;
    const unsigned long value = std::strtoul(begin, &end, 16);
    if (end == begin) return false;
    *code = static_cast<unsigned>(value);
    return true;
}
