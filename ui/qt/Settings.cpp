// The settings store: QSettings in the platform's native format under "Miltra" and the
// application's name (the executable's file name), as the registry keeps it on Windows.
#include "ui/Settings.h"

#include <QCoreApplication>
#include <QSettings>

#include "ui/qt/Ansi.h"

namespace ui {

namespace {

QSettings Store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Miltra"),
                     QCoreApplication::applicationName());
}

QString Key(std::string_view section, std::string_view entry) {
    return DecodeAnsi(section) + '/' + DecodeAnsi(entry);
}

}  // namespace

std::string GetProfileString(std::string_view section, std::string_view entry,
                             std::string_view fallback) {
    return EncodeAnsi(Store().value(Key(section, entry), DecodeAnsi(fallback)).toString());
}

void WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
    Store().setValue(Key(section, entry), DecodeAnsi(value));
}

int GetProfileInt(std::string_view section, std::string_view entry, int fallback) {
    bool ok = false;
    const int value = Store().value(Key(section, entry), fallback).toInt(&ok);
    return ok ? value : fallback;
}

void WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    Store().setValue(Key(section, entry), value);
}

}  // namespace ui
