#include "app/Profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

QSettings Store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Miltra"),
                     QCoreApplication::applicationName());
}

QString Key(const char* section, const char* entry) {
    return QString::fromLatin1(section) + '/' + QString::fromLatin1(entry);
}

}  // namespace

QString GetProfileString(const char* section, const char* entry, const QString& fallback) {
    return Store().value(Key(section, entry), fallback).toString();
}

void WriteProfileString(const char* section, const char* entry, const QString& value) {
    Store().setValue(Key(section, entry), value);
}

int GetProfileInt(const char* section, const char* entry, int fallback) {
    bool ok = false;
    const int value = Store().value(Key(section, entry), fallback).toInt(&ok);
    return ok ? value : fallback;
}

void WriteProfileInt(const char* section, const char* entry, int value) {
    Store().setValue(Key(section, entry), value);
}

PortSettings ReadPortSettings() {
    QSettings store = Store();
    PortSettings ports;
    store.beginGroup(QString::fromLatin1(kPortsSection));
    for (int n = kFirstComPort; n <= kLastComPort; ++n) {
        const QString path = store.value(QStringLiteral("COM%1").arg(n)).toString();
        if (!path.isEmpty()) ports.paths[n] = path.toStdString();
    }
    ports.discover = store.value(QStringLiteral("Discover"), true).toBool();
    return ports;
}

QString DefaultTracePath() {
#ifdef _WIN32
    QString state = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
#endif
    const QString folder = state + QStringLiteral("/Miltra");
    QDir().mkpath(folder);
    return folder + '/' + QCoreApplication::applicationName() + QStringLiteral("-trace.log");
}
