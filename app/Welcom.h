// The first page: the tool's picture, the interface language, and a search for the
// communicator on every visit. Next is offered once a unit has answered.
#pragma once

#include "app/WizardPage.h"

class CWelcom : public CWizardPage {
  public:
    CWelcom();
    bool OnInitDialog() override;
    bool OnSetActive() override;

  protected:
    std::intptr_t OnLinkResult(int code, std::intptr_t value) override;

  private:
    void FillLanguageList();
    void ApplyLanguage();

    std::string m_strLanguage;
};

// The version text of the title: the tool's version record, read from the executable once.
std::string ToolVersionText();
