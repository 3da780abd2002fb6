#include "pages/EventCatalogue.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

using namespace layout;

const std::array<std::uint8_t, kEventMaskSize> basicEventMask = {
    0x02, 0x00, 0x7C, 0x26, 0x01, 0x08, 0x40, 0x00, 0x00, 0x41,
    0x04, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

EventNames CatalogueNames(const std::uint8_t* catalogue, std::size_t size) {
    EventNames names;
    std::size_t at = 0;
    for (auto& name : names) {
        if (at >= size) break;
        const auto* begin = catalogue + at;
        const auto* end = std::find(begin, catalogue + size, 0);
        const auto length = static_cast<std::size_t>(end - begin);
        name.assign(reinterpret_cast<const char*>(begin), std::min(length, kEventNameMax));
        at += length + 1;
    }
    return names;
}

std::size_t WriteCatalogue(std::uint8_t* catalogue, std::size_t size, const EventNames& names) {
    std::size_t at = 0;
    for (const auto& name : names) {
        const std::size_t length = std::min(name.size(), kEventNameMax);
        if (at + length + 1 > size) break;
        std::memcpy(catalogue + at, name.data(), length);
        at += length;
        catalogue[at++] = 0;
    }
    return at;
}

bool LoadEventFile(const QString& path, EventMask mask, QString* error) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The event file %1 cannot be opened.").arg(path);
        return false;
    }
    char bytes[kEventMaskSize];
    const qint64 n = file.read(bytes, kEventMaskSize);
    if (n < 0) {
        *error = QStringLiteral("The event file %1 cannot be read.").arg(path);
        return false;
    }
    std::memcpy(mask.data(), bytes, static_cast<std::size_t>(n));
    return true;
}

bool SaveEventFile(const QString& path, ConstEventMask mask, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(mask.data()), kEventMaskSize) !=
            static_cast<qint64>(kEventMaskSize) ||
        !file.flush()) {
        *error = QStringLiteral("The event file %1 cannot be written.").arg(path);
        return false;
    }
    return true;
}
