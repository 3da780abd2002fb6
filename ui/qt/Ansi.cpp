#include "ui/qt/Ansi.h"

#include "ui/CodePage.h"

namespace ui {

QString DecodeAnsi(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) text.append(QChar(UnicodeOfAnsi(static_cast<unsigned char>(c))));
    return text;
}

std::string EncodeAnsi(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        char byte = '?';
        AnsiOfUnicode(c.unicode(), &byte);
        bytes.push_back(byte);
    }
    return bytes;
}

}  // namespace ui
