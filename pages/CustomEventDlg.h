// Chooses which events the unit reports to one destination: the events that are sent on the
// left, the others on the right, a basic and an advanced view, renaming in place, and event
// files. Edits the caller's 20-byte mask in place; Cancel puts it back.
#pragma once

#include <QString>
#include <array>

#include "device/DeviceData.h"
#include "pages/EventCatalogue.h"
#include "ui/Dialog.h"

namespace ui {
class ListView;
}

class CCustomEventDlg : public ui::Dialog {
public:
    CCustomEventDlg(std::uint8_t* mask, int filter, const QString& title, QWidget* parent);

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
    void Rename(ui::ListView* list, int row, const QString& text);
    EventMask Mask() const { return EventMask(m_mask, layout::kEventMaskSize); }

    std::uint8_t* m_mask;
    std::array<std::uint8_t, layout::kEventMaskSize> m_savedMask{};
    int m_nFilter;
    QString m_strTitle;
    bool m_bAdvanced = false;
    bool m_bNamesChanged = false;
    QString m_strSendHeading;
    QString m_strPoolHeading;
};
