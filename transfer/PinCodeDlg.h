// Takes a new SIM PIN for the communicator's modem; it travels with the next upload.
#pragma once

#include "ui/Dialog.h"

class CPinCodeDlg : public ui::Dialog {
  public:
    explicit CPinCodeDlg(ui::Hwnd parent);

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
};
