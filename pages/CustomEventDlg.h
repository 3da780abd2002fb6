// Chooses which events the unit reports to one destination: the events that are sent on the
// left, the others on the right, a basic and an advanced view, renaming in place, and event
// files. Edits the caller's 20-byte mask in place; Cancel puts it back.
#pragma once

#include <array>
#include <string>

#include "device/DeviceData.h"
#include "pages/EventCatalogue.h"
#include "ui/Dialog.h"
#include "ui/ListView.h"

class CCustomEventDlg : public ui::Dialog {
  public:
    CCustomEventDlg(std::uint8_t* mask, int filter, std::string title, ui::Hwnd parent);

    bool advanced() const { return m_bAdvanced; }

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    void FillLists();
    void CollectMask();
    void MoveSelected(ui::ListView* from, ui::ListView* to, bool keepOnlyBasic);
    void SwitchView();
    void OpenFile();
    void SaveFile();
    void Rename(ui::ListView* list, int row, const std::string& text);
    EventMask Mask() const { return EventMask(m_mask, layout::kEventMaskSize); }

    std::uint8_t* m_mask;
    std::array<std::uint8_t, layout::kEventMaskSize> m_savedMask{};
    int m_nFilter;
    std::string m_strTitle;
    bool m_bAdvanced = false;
    bool m_bNamesChanged = false;
    std::string m_strSendHeading;
    std::string m_strPoolHeading;
};
