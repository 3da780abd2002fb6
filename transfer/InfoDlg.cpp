#include "transfer/InfoDlg.h"

#include <QProgressBar>
#include <algorithm>

#include "app/LangFile.h"
#include "device/DeviceData.h"
#include "resources/Resource.h"
#include "resources/Templates.h"

namespace {

constexpr int kModelTail = 6;  // the modem's own "\r\nOK\r\n" after the model
constexpr int kSignalFull = 32;

QString BandText(std::uint8_t code) {
    switch (code) {
        case 1: return QStringLiteral("900 MHz");
        case 2: return QStringLiteral("1800 MHz");
        case 3: return QStringLiteral("900 MHz + 1800 MHz");
        case 4: return QStringLiteral("1900 MHz");
        case 5: return QStringLiteral("900 MHz + 1900 MHz");
        case 10: return QStringLiteral("850 MHz + 1800 MHz");
        case 12: return QStringLiteral("850 MHz + 1900 MHz");
        case 15: return QStringLiteral("All");
        default: return QStringLiteral("Unknown");
    }
}

// "2" and anything unknown read "Unknown" for GSM but "No used" for GPRS.
QString RegistrationText(char state, const QString& otherwise) {
    switch (state) {
        case '0': return QStringLiteral("Not registered");
        case '1': return QStringLiteral("Registered to home network");
        case '3': return QStringLiteral("Registration denied");
        case '4': return QStringLiteral("Registered. Roaming");
        default: return otherwise;
    }
}

}  // namespace

InfoLines DecodeInfo(const DeviceData& data) {
    InfoLines lines;
    lines.lastError += QString::number(data.lastError());
    lines.op += DecodeAnsi(data.operatorName());
    lines.firmware += DecodeAnsi(data.firmwareText());
    const std::string model = data.modelText();
    const std::size_t kept = model.size() > kModelTail ? model.size() - kModelTail : 0;
    lines.identity = DecodeAnsi(std::string_view(model).substr(0, kept)) + "\nID:\t" +
                     DecodeAnsi(data.idText());
    lines.band += BandText(data.bandCode());
    lines.gsm += RegistrationText(data.gsmRegistration(), QStringLiteral("Unknown"));
    lines.gprs += RegistrationText(data.gprsRegistration(), QStringLiteral("No used"));
    lines.signal = std::min<int>(data.signalLevel(), kSignalFull);
    return lines;
}

CInfoDlg::CInfoDlg(const DeviceData& data, QWidget* parent)
    : ui::Dialog(GetTemplate(IDD_INFO), parent), m_data(data) {}

void CInfoDlg::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_INFO_IDENTITY, m_lines.identity);
    dx.Text(IDC_INFO_SOFTWARE, m_lines.firmware);
    dx.Text(IDC_INFO_OPERATOR, m_lines.op);
    dx.Text(IDC_INFO_GSM, m_lines.gsm);
    dx.Text(IDC_INFO_GPRS, m_lines.gprs);
    dx.Text(IDC_INFO_BAND, m_lines.band);
    dx.Text(IDC_INFO_LAST_ERROR, m_lines.lastError);
}

bool CInfoDlg::OnInitDialog() {
    m_lines = DecodeInfo(m_data);
    QProgressBar* bar = GetProgressBar(IDC_INFO_RSSI);
    bar->setRange(0, kSignalFull);
    bar->setValue(m_lines.signal);
    return ui::Dialog::OnInitDialog();
}
