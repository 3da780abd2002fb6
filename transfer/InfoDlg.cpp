#include "transfer/InfoDlg.h"

#include <algorithm>

#include "device/DeviceData.h"
#include "resources/Resource.h"
#include "resources/Templates.h"

namespace {

constexpr int kModelTail = 6;  // the modem's own "\r\nOK\r\n" after the model
constexpr int kSignalFull = 32;

const char* BandText(std::uint8_t code) {
    switch (code) {
        case 1:
            return "900 MHz";
        case 2:
            return "1800 MHz";
        case 3:
            return "900 MHz + 1800 MHz";
        case 4:
            return "1900 MHz";
        case 5:
            return "900 MHz + 1900 MHz";
        case 10:
            return "850 MHz + 1800 MHz";
        case 12:
            return "850 MHz + 1900 MHz";
        case 15:
            return "All";
        default:
            return "Unknown";
    }
}

// "2" and anything unknown read "Unknown" for GSM but "No used" for GPRS.
const char* RegistrationText(char state, const char* otherwise) {
    switch (state) {
        case '0':
            return "Not registered";
        case '1':
            return "Registered to home network";
        case '3':
            return "Registration denied";
        case '4':
            return "Registered. Roaming";
        default:
            return otherwise;
    }
}

}  // namespace

InfoLines DecodeInfo(const DeviceData& data) {
    InfoLines lines;
    lines.lastError += std::to_string(data.lastError());
    lines.op += data.operatorName();
    lines.firmware += data.firmwareText();
    const std::string model = data.modelText();
    const std::size_t kept = model.size() > kModelTail ? model.size() - kModelTail : 0;
    lines.identity = model.substr(0, kept) + "\nID:\t" + data.idText();
    lines.band += BandText(data.bandCode());
    lines.gsm += RegistrationText(data.gsmRegistration(), "Unknown");
    lines.gprs += RegistrationText(data.gprsRegistration(), "No used");
    lines.signal = std::min<int>(data.signalLevel(), kSignalFull);
    return lines;
}

CInfoDlg::CInfoDlg(const DeviceData& data, ui::Hwnd parent)
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
    SetProgressRange(IDC_INFO_RSSI, 0, kSignalFull);
    SetProgressPos(IDC_INFO_RSSI, m_lines.signal);
    return ui::Dialog::OnInitDialog();
}
