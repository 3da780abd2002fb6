// The connection page: Local (the unit on the cable is the one to configure) or Remote (the
// unit on the cable dials a remote unit, whose number, password and data protocol are given
// here). It also opens the PIN or the modem dialog when the identification asks for it.
#pragma once

#include <functional>

#include "app/WizardPage.h"
#include "device/Layout.h"

class CStartPage : public CWizardPage {
  public:
    // The PIN code and modem information dialogs live above this layer; whoever builds the
    // wizard hands in how to run them.
    using DialogRunner = std::function<void(ui::Hwnd parent)>;
    CStartPage(DialogRunner runPinCodeDialog, DialogRunner runModemInfoDialog);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    int OnWizardNext() override;

    static constexpr int kPinTimer = 2;
    static constexpr int kModemTimer = 0;
    static constexpr int kPhoneMax = static_cast<int>(layout::kDialNumberMax);
    static constexpr int kPasswordMax = static_cast<int>(layout::kDialPasswordMax);

  protected:
    void OnTimer(int id) override;

  private:
    void EnableRemoteFields(bool enable);
    void WriteDialRequest();

    DialogRunner m_runPinCodeDialog;
    DialogRunner m_runModemInfoDialog;
};

// The data protocols of a remote call, by the index that is stored and sent.
extern const char* const kDataProtocols[4];
