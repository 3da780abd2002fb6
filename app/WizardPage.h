// What every page of the wizard has: the sheet it was shown in, its language texts and the
// answers of the link worker.
#pragma once

#include <string_view>

#include "app/LangFile.h"
#include "app/MainSheet.h"
#include "link/LinkAnswer.h"
#include "ui/PropertySheet.h"

class CWizardPage : public ui::PropertyPage {
  public:
    using ui::PropertyPage::PropertyPage;

    bool OnInitDialog() override;
    std::intptr_t OnMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;

  protected:
    // WM_LINK_RESULT.
    virtual std::intptr_t OnLinkResult(const LinkAnswer& answer);

    // The first line of a section of the active language file.
    std::string Text(std::string_view section, std::size_t bufferSize = kTextBuffer) const;
    // Puts a section's text on a control, whatever it is (empty when missing).
    void SetText(int id, std::string_view section);
    void PostButtons(unsigned flags) { m_pSheet->PostSetWizardButtons(flags); }
    DeviceData& Data() const { return m_pSheet->data(); }

    CMainSheet* m_pSheet = nullptr;
};
