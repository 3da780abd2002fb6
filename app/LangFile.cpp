#include "app/LangFile.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cctype>
#include <cstdlib>

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

// Windows-1252 at 0x80..0x9F; the rest of the upper half is Latin-1. The five bytes the code
// page leaves undefined map to the control characters of the same value, as Windows' own
// table maps them, so that every byte comes back unchanged.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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

std::string ReadSectionLine(const QString& path, std::string_view section, std::size_t bufferSize) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.read(kMaxLangFileBytes);
    return SectionLine(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                       section, bufferSize);
}

QString DecodeAnsi(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(kHigh[b - 0x80]) : QChar(b));
    }
    return text;
}

std::string EncodeAnsi(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        char out = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out = static_cast<char>(u);
        } else {
            for (int i = 0; i < 32; ++i)
                if (kHigh[i] == u) out = static_cast<char>(0x80 + i);
        }
        bytes.push_back(out);
    }
    return bytes;
}

QString LangText(const QString& langFile, std::string_view section, std::size_t bufferSize) {
    return DecodeAnsi(ReadSectionLine(langFile, section, bufferSize));
}

QString LangTextOr(const QString& langFile, std::string_view section, const QString& builtIn) {
    const QString text = LangText(langFile, section);
    return text.isEmpty() ? builtIn : text;
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

QStringList ListLanguages(const QString& directory) {
    QStringList languages;
    const QDir dir(directory);
    const QStringList files =
        dir.entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        const QString title = QFileInfo(file).completeBaseName();
        const std::string language = ReadSectionLine(dir.filePath(file), "Language", kTextBuffer);
        if (DecodeAnsi(language) == title) languages.append(title);
    }
    return languages;
}
