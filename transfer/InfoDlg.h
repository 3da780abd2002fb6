// Shows what the communicator's GSM modem reported at the last identification: its texts,
// the last error, operator, band, registration states and signal level.
#pragma once

#include <string>

#include "ui/Dialog.h"

struct DeviceData;

// The dialog's lines, decoded from the information block. Every text stays inside its field.
struct InfoLines {
    std::string identity;
    std::string firmware = "Firmware:\t";
    std::string op = "Operator:\t";
    std::string gsm = "GSM:\t\t";
    std::string gprs = "GPRS:\t\t";
    int signal = 0;
    std::string band = "Band:\t\t";
    std::string lastError = "Last Error:\t";
};
InfoLines DecodeInfo(const DeviceData& data);

class CInfoDlg : public ui::Dialog {
  public:
    CInfoDlg(const DeviceData& data, ui::Hwnd parent);

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    const DeviceData& m_data;
    InfoLines m_lines;
};
