#include "pages/EventCatalogue.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

using namespace layout;

const std::array<std::uint8_t, kEventMaskSize> basicEventMask = {
    0x02, 0x00, 0x7C, 0x26, 0x01, 0x08, 0x40, 0x00, 0x00, 0x41,
    0x04, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

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
