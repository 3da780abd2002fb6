// The first page: the tool's picture, the interface language, and a search for the
// communicator on every visit. Next is offered once a unit has answered.
#pragma once

#include "app/WizardPage.h"

class CWelcom : public CWizardPage {
  public:
    CWelcom();
    bool OnInitDialog() override;
    bool OnSetActive() override;
    // Working on a site file, the connection page has nothing to choose.
    int OnWizardNext() override;

  protected:
    std::intptr_t OnLinkResult(const LinkAnswer& answer) override;

  private:
    void FillLanguageList();
    void ApplyLanguage();
    void Scan();
    void WorkWithoutUnit();

    std::string m_strLanguage;
    int m_nScansOut = 0;
    int m_nStaleScans = 0;  // answers still to come from the line given up
};

// The version text of the title: the tool's version record, read from the executable once.
std::string ToolVersionText();
