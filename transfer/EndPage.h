// The last page: tamper options, the AT_CUSD number and the end-page texts; Finish builds the
// configuration image, uploads it, tells the unit to end the session and ends the program.
#pragma once

#include <memory>

#include "app/WizardPage.h"
#include "device/DeviceData.h"
#include "device/EventCatalogue.h"
#include "device/Verify.h"
#include "transfer/Upload.h"

class CEndPage : public CWizardPage {
  public:
    CEndPage();
    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnWizardFinish() override;

    static constexpr int kUploadRetries = ::kUploadRetries;

  protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnTimer(int id) override;
    std::intptr_t OnLinkResult(const LinkAnswer& answer) override;

  public:
    // The record as Finish will write it: the unit's record with this page's controls in it.
    std::unique_ptr<DeviceData> FinishRecord() const;

  private:
    // Writes this page's controls into `d` (the tamper options, the number, the texts where
    // the unit takes them back), as Finish does.
    void StoreControls(DeviceData& d) const;
    // True when the file was written.
    bool SaveSiteFile();
    void RetryUpload();
    void UpdateChangeCount();
    // Without a unit the changes are measured against the opened site file.
    bool AgainstFile() const;
    void ShowChanges();
    void SaveReport();
    // The unit's event names when they have been read this session, else none.
    EventNames EventNamesInHand() const;
    // The unit has taken the upload: read it back, or end the session when that is off.
    void Accepted();
    void ReadBackAnswered(bool read);
    void EndSession();

  public:
    // The upload's verdict once the read-back has answered, else nullptr.
    const fields::Verdict* Verdict() const { return m_verdict.get(); }

  private:
    int m_nRetries = kUploadRetries;
    int m_bDone = 0;
    ImageBuffer m_image;
    std::string m_strTitle;
    bool m_bVerify = true;
    std::unique_ptr<DeviceData> m_readBack;  // the link fills it until its answer
    std::unique_ptr<fields::Verdict> m_verdict;
};

// The end page's text fields take no more than their slots hold.
inline constexpr int kEndTextMax = static_cast<int>(layout::kEndPageTextSize) - 1;
