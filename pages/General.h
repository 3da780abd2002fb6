// The communication page: which reporting protocols the unit is to use, Primary or Backup,
// the "And" option; Next decides the rest of the wizard, one page per installed protocol.
#pragma once

#include <array>
#include <memory>

#include "app/WizardPage.h"
#include "device/Protocols.h"
#include "ui/ListView.h"

class CGeneral : public CWizardPage {
  public:
    CGeneral();
    bool OnInitDialog() override;
    bool OnSetActive() override;
    int OnWizardBack() override;
    int OnWizardNext() override;

    static constexpr int kIdentifyRetries = 5;
    static constexpr int kProtocolCount = protocols::kCount;
    static constexpr int kSiteReportTimer = 3;

  protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    std::intptr_t OnLinkResult(const LinkAnswer& answer) override;
    void OnTimer(int id) override;

  private:
    struct Protocol {
        std::string name;
        std::string description;
    };

    // Primary or Backup, primaryMode and the And box, as the record has them.
    void ShowUnitOptions();
    void EnableChoices(bool enable);
    void FillLists();
    void SetPrimary(bool primary);
    void Move(ui::ListView* from, ui::ListView* to, int index);
    void ShowDescription(ui::ListView* list, int index);
    void UpdateButtons(int countAfter);
    void RebuildSequence();

    std::array<Protocol, kProtocolCount> m_protocols;
    std::unique_ptr<ui::ImageList> m_images;
    std::string m_strDescription;
    int m_nRetries = kIdentifyRetries;
    std::string m_strSiteReport;  // what laying a site file over the record did
};
