#include "pages/CustomEventDlg.h"

#include <cstring>

#include "app/MainSheet.h"
#include "pages/ListPair.h"
#include "resources/Resource.h"
#include "resources/Templates.h"
#include "ui/Services.h"

using namespace layout;

namespace {

constexpr int kColumnWidth = 240;

DeviceData& Data() {
    return AfxGetMainSheet()->data();
}

ui::FileDialogOptions EventFileDialog() {
    return {kEventFileExtension,
            kEventFileProposedName,
            kEventFileFilterLabel,
            kEventFileFilterPattern,
            {}};
}

}  // namespace

CCustomEventDlg::CCustomEventDlg(std::uint8_t* mask, int filter, std::string title, ui::Hwnd parent)
    : ui::Dialog(GetTemplate(IDD_EVENT_LIST), parent),
      m_mask(mask),
      m_nFilter(filter),
      m_strTitle(std::move(title)) {
    OnClicked(IDC_EVENTS_LEFT, [this] {
        MoveSelected(GetListView(IDC_POOL_LIST), GetListView(IDC_SEND_LIST), false);
    });
    OnClicked(IDC_EVENTS_RIGHT, [this] {
        MoveSelected(GetListView(IDC_SEND_LIST), GetListView(IDC_POOL_LIST), !m_bAdvanced);
    });
    OnClicked(IDC_EVENTS_OPEN, [this] { OpenFile(); });
    OnClicked(IDC_EVENTS_SAVE, [this] { SaveFile(); });
    OnClicked(IDC_ADVANCE, [this] { SwitchView(); });
}

void CCustomEventDlg::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_SEND_LABEL, m_strSendHeading);
    dx.Text(IDC_POOL_LABEL, m_strPoolHeading);
}

bool CCustomEventDlg::OnInitDialog() {
    if (!ui::Dialog::OnInitDialog()) return false;
    m_bAdvanced = false;
    m_bNamesChanged = false;
    m_strSendHeading = AfxLangText("901");
    m_strPoolHeading = AfxLangText("902");
    SetDlgItemText(IDC_EVENTS_OPEN, AfxLangText("903"));
    SetDlgItemText(IDC_EVENTS_SAVE, AfxLangText("904"));
    SetDlgItemText(IDC_ADVANCE, AfxLangText("905"));
    ShowItem(IDC_EVENTS_OPEN, true);
    ShowItem(IDC_EVENTS_SAVE, true);
    SetWindowText(m_strTitle);
    const std::string header = AfxLangText("907", kShortTextBuffer);
    for (int id : {IDC_SEND_LIST, IDC_POOL_LIST}) {
        ui::ListView* list = GetListView(id);
        list->InsertColumn(header, kColumnWidth);
        list->onEndLabelEdit = [this, list](int row, const std::string& text) {
            Rename(list, row, text);
        };
    }
    std::memcpy(m_savedMask.data(), m_mask, kEventMaskSize);
    FillLists();
    return true;
}

void CCustomEventDlg::FillLists() {
    const ListPair lists{GetListView(IDC_SEND_LIST), GetListView(IDC_POOL_LIST)};
    lists.Clear();
    const DeviceData& d = Data();
    const EventNames names = CatalogueNames(d.eventCatalogue.data(), kEventCatalogueSize);
    const ConstEventMask basic(basicEventMask.data(), kEventMaskSize);
    for (int event = 0; event < kEventCount; ++event) {
        const std::string& name = names[static_cast<std::size_t>(event)];
        if (name.empty()) continue;
        if (m_nFilter && !EventMaskTest(d.eventFilterMask(), event)) continue;
        const bool sent = EventMaskTest(Mask(), event);
        if (sent || m_bAdvanced || EventMaskTest(basic, event)) lists.Append(sent, name, 0, event);
    }
    UpdateData(false);
}

void CCustomEventDlg::CollectMask() {
    std::memset(m_mask, 0, kEventMaskSize);
    ui::ListView* send = GetListView(IDC_SEND_LIST);
    for (int row = 0; row < send->GetItemCount(); ++row)
        EventMaskSet(Mask(), static_cast<int>(send->GetItemData(row)), true);
}

void CCustomEventDlg::MoveSelected(ui::ListView* from, ui::ListView* to, bool keepOnlyBasic) {
    const ConstEventMask basic(basicEventMask.data(), kEventMaskSize);
    for (auto rows = from->GetSelectedItems(); !rows.empty(); rows = from->GetSelectedItems()) {
        const int row = rows.front();
        const std::string text = from->GetItemText(row);
        const std::intptr_t event = from->GetItemData(row);
        from->DeleteItem(row);
        // In the basic view an event that is not basic drops out of sight.
        if (keepOnlyBasic && !EventMaskTest(basic, static_cast<int>(event))) continue;
        to->InsertItem(to->GetItemCount(), text, 0, event);
    }
}

void CCustomEventDlg::SwitchView() {
    CollectMask();
    m_bAdvanced = !m_bAdvanced;
    SetDlgItemText(IDC_ADVANCE, AfxLangText(m_bAdvanced ? "906" : "905", kShortTextBuffer));
    FillLists();
}

void CCustomEventDlg::Rename(ui::ListView* list, int row, const std::string& text) {
    // An empty name would take the event out of the catalogue: the rename is cancelled.
    if (text.empty()) return;
    list->SetItemText(row, text);
    m_bNamesChanged = true;
}

void CCustomEventDlg::OpenFile() {
    const std::filesystem::path path = ui::GetOpenFileName(GetSafeHwnd(), EventFileDialog());
    if (path.empty()) return;
    std::string error;
    if (!LoadEventFile(path, Mask(), &error)) {
        ui::MessageBox(GetSafeHwnd(), error, GetWindowText(), ui::MessageIcon::Error);
        return;
    }
    FillLists();
}

void CCustomEventDlg::SaveFile() {
    const std::filesystem::path path = ui::GetSaveFileName(GetSafeHwnd(), EventFileDialog());
    if (path.empty()) return;
    CollectMask();
    std::string error;
    if (!SaveEventFile(path, ConstEventMask(m_mask, kEventMaskSize), &error))
        ui::MessageBox(GetSafeHwnd(), error, GetWindowText(), ui::MessageIcon::Error);
}

void CCustomEventDlg::OnOK() {
    CollectMask();
    if (m_bNamesChanged) {
        DeviceData& d = Data();
        EventNames names = CatalogueNames(d.eventCatalogue.data(), kEventCatalogueSize);
        for (int id : {IDC_SEND_LIST, IDC_POOL_LIST}) {
            const ui::ListView* list = GetListView(id);
            for (int row = 0; row < list->GetItemCount(); ++row)
                names[static_cast<std::size_t>(list->GetItemData(row))] = list->GetItemText(row);
        }
        WriteCatalogue(d.eventCatalogue.data(), kEventCatalogueSize, names);
    }
    EndDialog(ui::IDOK);
}

void CCustomEventDlg::OnCancel() {
    std::memcpy(m_mask, m_savedMask.data(), kEventMaskSize);
    EndDialog(ui::IDCANCEL);
}
