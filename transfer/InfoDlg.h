// Shows what the communicator's GSM modem reported at the last identification: its texts,
// the last error, operator, band, registration states and signal level.
#pragma once

#include <QString>

#include "ui/Dialog.h"

struct DeviceData;

// The dialog's lines, decoded from the information block. Every text stays inside its field.
struct InfoLines {
    QString identity;
    QString firmware = QStringLiteral("Firmware:\t");
    QString op = QStringLiteral("Operator:\t");
    QString gsm = QStringLiteral("GSM:\t\t");
    QString gprs = QStringLiteral("GPRS:\t\t");
    int signal = 0;
    QString band = QStringLiteral("Band:\t\t");
    QString lastError = QStringLiteral("Last Error:\t");
};
InfoLines DecodeInfo(const DeviceData& data);

class CInfoDlg : public ui::Dialog {
public:
    CInfoDlg(const DeviceData& data, QWidget* parent);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    const DeviceData& m_data;
    InfoLines m_lines;
};
