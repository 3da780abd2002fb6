#include "transfer/PortFailures.h"

#include <QStringList>
#include <system_error>

#include "app/LangFile.h"

namespace {

QString Cause(const OpenFailure& failure, const QString& langFile) {
    switch (failure.fault) {
        case PortFault::Denied:
            if (failure.group.empty())
                return LangTextOr(langFile, "004",
                                  "permission denied. Ask the administrator for read and write "
                                  "access to the device.");
            return LangTextOr(langFile, "003",
                              "permission denied. Add your user to the group '%1' and log in "
                              "again.")
                .arg(QString::fromStdString(failure.group));
        case PortFault::InUse: return LangTextOr(langFile, "005", "in use by another program.");
        case PortFault::Gone:
            return LangTextOr(langFile, "006",
                              "the device is gone. Plug the cable or the adapter in again.");
        case PortFault::None:
        case PortFault::Other: break;
    }
    return LangTextOr(langFile, "007", "cannot be opened (%1).")
        .arg(QString::fromStdString(std::system_category().message(failure.osError)));
}

QString PortFailureLine(const OpenFailure& failure, const QString& langFile) {
    QString port = QStringLiteral("COM%1").arg(failure.comNumber);
    if (!failure.device.empty()) port += " (" + QString::fromStdString(failure.device) + ")";
    return port + ": " + Cause(failure, langFile);
}

}  // namespace

QString PortFailureLines(const std::vector<OpenFailure>& failures, const QString& langFile) {
    QStringList lines;
    for (const OpenFailure& failure : failures) lines << PortFailureLine(failure, langFile);
    return lines.join('\n');
}
