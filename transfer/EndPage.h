// The last page: tamper options, the AT_CUSD number and the end-page texts; Finish builds the
// configuration image, uploads it, tells the unit to end the session and ends the program.
#pragma once

#include <memory>

#include "app/WizardPage.h"
#include "device/DeviceData.h"
#include "device/EventCatalogue.h"

class CEndPage : public CWizardPage {
  public:
    CEndPage();
    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnWizardFinish() override;

    static constexpr int kUploadRetries = 5;
    static constexpr int kExitTimer = 1;
    static constexpr int kExitDelayMs = 1000;
    static constexpr int kExitStatus = 1;
    static constexpr int kCusdDigits = 4;
    static constexpr int kCusdReadMax = 7;

  protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnTimer(int id) override;
    std::intptr_t OnLinkResult(int code, std::intptr_t value) override;

  public:
    // The record as Finish will write it: the unit's record with this page's controls in it.
    std::unique_ptr<DeviceData> FinishRecord() const;

  private:
    // Writes this page's controls into `d` (the tamper options, the number, the texts where
    // the unit takes them back), as Finish does.
    void StoreControls(DeviceData& d) const;
    void SaveSiteFile();
    void RetryUpload();
    void UpdateChangeCount();
    void ShowChanges();
    void SaveReport();
    // The unit's event names when they have been read this session, else none.
    EventNames EventNamesInHand() const;

    int m_nRetries = kUploadRetries;
    int m_bDone = 0;
    ImageBuffer m_image;
    std::string m_strTitle;
};

// The end page's text fields take no more than their slots hold.
inline constexpr int kEndTextMax = static_cast<int>(layout::kEndPageTextSize) - 1;
