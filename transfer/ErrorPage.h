// The page the wizard falls back to when the communicator is lost or was never found: it
// searches the ports again and again, beeping after each empty search, and goes back to the
// welcome page as soon as a unit answers.
#pragma once

#include <chrono>
#include <optional>

#include "app/WizardPage.h"

class CErrorPage : public CWizardPage {
  public:
    CErrorPage();
    bool OnSetActive() override;

  protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnTimer(int id) override;
    std::intptr_t OnLinkResult(const LinkAnswer& answer) override;

  private:
    void Search();
    // Leaves for the welcome page, talking to a unit in the program.
    void WorkWithoutUnit();
    void PracticeWithDemoUnit();
    // Why the last search found nothing: the ports that are there but could not be opened.
    void ShowPortFailures();

    std::string m_strMessage;
    std::optional<std::chrono::steady_clock::time_point> m_roundStart;
    // A search is on its way or the next round is due: the chain lives until a unit answers
    // or its answer or round finds the page no longer shown.
    bool m_bSearching = false;
};
