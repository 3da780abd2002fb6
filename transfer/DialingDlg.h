// The transfer page of a remote session: hands the dialling request to the unit on the cable
// and follows its status bytes while it calls the remote unit, checks the password and
// downloads the remote unit's data.
#pragma once

#include <chrono>
#include <optional>

#include "app/WizardPage.h"

class CDialingDlg : public CWizardPage {
  public:
    CDialingDlg();
    bool OnInitDialog() override;
    bool OnSetActive() override;
    int OnWizardBack() override;

    // A status wait takes about this long when the unit is silent. A dead line answers at
    // once; the next wait then comes no sooner, so the page neither spins nor floods the log.
    static constexpr int kStatusCycleMs = 600;

  protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnTimer(int id) override;
    std::intptr_t OnLinkResult(const LinkAnswer& answer) override;

  private:
    // True when the unit is still at work and the next status is to be awaited.
    bool ApplyStatus(std::int8_t status);
    void RequestStatus();
    void PollAgain();

    int m_nAnswers = 0;
    int m_bFirstActivation = 1;
    std::string m_strStatus;
    std::optional<std::chrono::steady_clock::time_point> m_lastRequest;
};
