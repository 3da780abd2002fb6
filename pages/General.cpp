#include "pages/General.h"

#include <vector>

#include "device/DeviceData.h"
#include "device/Protocols.h"
#include "pages/ListPair.h"
#include "pages/ProtocolBook.h"
#include "resources/Resource.h"
#include "resources/Templates.h"
#include "transfer/InfoDlg.h"
#include "ui/Services.h"

using namespace layout;

namespace {

constexpr int kIconSize = 32;
constexpr std::size_t kRowTextMax = 127;

// What the installer can choose on the page; none of it while the record is being read.
constexpr int kChoiceControls[] = {IDC_PRIMARY, IDC_BACKUP, IDC_AND,       IDC_INFO,
                                   IDC_LEFT,    IDC_RIGHT,  IDC_INSTALLED, IDC_AVAILABLE};

bool ValidIndex(std::intptr_t index) {
    return index >= 0 && index < CGeneral::kProtocolCount;
}

int SelectedRow(const ui::ListView* list) {
    const auto rows = list->GetSelectedItems();
    return rows.empty() ? -1 : rows.front();
}

}  // namespace

CGeneral::CGeneral() : CWizardPage(GetTemplate(IDD_COMMUNICATION)) {
    OnClicked(IDC_PRIMARY, [this] { SetPrimary(true); });
    OnClicked(IDC_BACKUP, [this] { SetPrimary(false); });
    OnClicked(IDC_LEFT, [this] {
        ui::ListView* available = GetListView(IDC_AVAILABLE);
        Move(available, GetListView(IDC_INSTALLED), SelectedRow(available));
    });
    OnClicked(IDC_RIGHT, [this] {
        ui::ListView* installed = GetListView(IDC_INSTALLED);
        Move(installed, GetListView(IDC_AVAILABLE), SelectedRow(installed));
    });
    OnClicked(IDC_INFO, [this] { CInfoDlg(Data(), GetSafeHwnd()).DoModal(); });
}

void CGeneral::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_DESCRIPTION, m_strDescription);
}

bool CGeneral::OnInitDialog() {
    if (!CWizardPage::OnInitDialog()) return false;
    m_images = std::make_unique<ui::ImageList>(kIconSize);
    for (const protocols::Protocol& protocol : protocols::kProtocols)
        m_images->Add(ProtocolIcon(protocol));
    ui::ListView* installed = GetListView(IDC_INSTALLED);
    ui::ListView* available = GetListView(IDC_AVAILABLE);
    for (ui::ListView* list : {installed, available}) {
        list->SetImageList(m_images.get());
        if (list->GetImageList() != m_images.get()) return false;
        list->onItemChanging = [this, list](int index) { ShowDescription(list, index); };
    }
    installed->onItemActivate = [this, installed, available](int index) {
        Move(installed, available, index);
    };
    available->onItemActivate = [this, installed, available](int index) {
        Move(available, installed, index);
    };
    installed->onItemInserted = [installed, this](int) {
        UpdateButtons(installed->GetItemCount());
    };
    installed->onItemDeleting = [installed, this](int) {
        UpdateButtons(installed->GetItemCount() - 1);
    };
    ShowUnitOptions();
    PostButtons(ui::PSWIZB_BACK);
    return true;
}

bool CGeneral::OnSetActive() {
    for (int i = 0; i < kProtocolCount; ++i) {
        const protocols::Protocol& protocol = protocols::kProtocols[i];
        m_protocols[static_cast<std::size_t>(i)] = {Text(protocol.nameSection),
                                                    Text(protocol.descriptionSection)};
    }
    SetText(IDC_INSTALLED_LABEL, "314");
    SetText(IDC_AVAILABLE_LABEL, "315");
    SetText(IDC_AND, "501");
    UpdateData(false);
    m_nRetries = kIdentifyRetries;
    if (m_pSheet->identifyPending == 1) {
        // Nothing may move on or be chosen while the identification rewrites the record (a
        // click would be overwritten there, the modem information is being rewritten); its
        // answer gives the page back, and the lists it fills offer Next again.
        PostButtons(ui::PSWIZB_BACK);
        EnableChoices(false);
        m_pSheet->m_link.RequestIdentify(handle());
    }
    if (Data().reportFlag(kFlagAnd)) CheckDlgButton(IDC_AND, true);
    m_pSheet->identifyPending = 0;
    return CWizardPage::OnSetActive();
}

std::intptr_t CGeneral::OnLinkResult(const LinkAnswer& answer) {
    if (answer.code == LinkResult::Command17Sent || answer.code == LinkResult::Command18Sent)
        return 0;
    if (answer.code == LinkResult::Identified && answer.ok) {
        // A site file's values go over the record as read, before anything shows it; what
        // that did is told once the answer is handled.
        m_strSiteReport = m_pSheet->m_siteFiles.Identified(Data());
        if (!m_strSiteReport.empty()) SetTimer(kSiteReportTimer, 1);
        // The record may be another unit's now (the remote one): show its choices, not the
        // ones the page was opened with.
        ShowUnitOptions();
        FillLists();
        EnableChoices(true);
        Data().setLanguageCode(static_cast<std::uint16_t>(m_pSheet->m_nLangCode & 0xFFFF));
        return 0;
    }
    ui::MessageBeep();
    if (m_nRetries != 0) {
        --m_nRetries;
        m_pSheet->m_link.RequestIdentify(handle());
    } else {
        --m_nRetries;
        m_pSheet->LinkLost();
    }
    return 0;
}

void CGeneral::FillLists() {
    const ListPair lists{GetListView(IDC_INSTALLED), GetListView(IDC_AVAILABLE)};
    lists.Clear();
    const DeviceData& d = Data();
    for (int i = 0; i < kProtocolCount; ++i) {
        const protocols::Protocol& protocol = protocols::kProtocols[i];
        // Primary offers the IP protocol alone.
        const bool offered = d.reportFlag(kFlagPrimary) ? &protocol == &protocols::kIp
                                                        : d.reportFlag(protocol.supportedFlag);
        if (!offered) continue;
        lists.Append(d.reportFlag(protocol.installedFlag),
                     m_protocols[static_cast<std::size_t>(i)].name, i, i);
    }
}

void CGeneral::EnableChoices(bool enable) {
    for (int id : kChoiceControls) EnableItem(id, enable);
}

void CGeneral::ShowUnitOptions() {
    const DeviceData& d = Data();
    const bool primary = d.reportFlag(kFlagPrimary);
    CheckDlgButton(IDC_PRIMARY, primary);
    CheckDlgButton(IDC_BACKUP, !primary);
    m_pSheet->primaryMode = primary ? 1 : 0;
    CheckDlgButton(IDC_AND, d.reportFlag(kFlagAnd));
}

void CGeneral::SetPrimary(bool primary) {
    Data().setReportFlag(kFlagPrimary, primary);
    FillLists();
    m_pSheet->primaryMode = primary ? 1 : 0;
}

void CGeneral::Move(ui::ListView* from, ui::ListView* to, int index) {
    if (index < 0 || index >= from->GetItemCount()) return;
    const std::string text = from->GetItemText(index).substr(0, kRowTextMax);
    const int image = from->GetItemImage(index);
    const std::intptr_t data = from->GetItemData(index);
    from->DeleteItem(index);
    to->InsertItem(to->GetItemCount(), text, image, data);
}

void CGeneral::ShowDescription(ui::ListView* list, int index) {
    const std::intptr_t protocol = list->GetItemData(index);
    if (!ValidIndex(protocol)) return;
    m_strDescription = m_protocols[static_cast<std::size_t>(protocol)].description;
    UpdateData(false);
}

void CGeneral::UpdateButtons(int countAfter) {
    PostButtons(countAfter >= 1 ? ui::PSWIZB_BACK | ui::PSWIZB_NEXT : ui::PSWIZB_BACK);
}

int CGeneral::OnWizardBack() {
    // A site file's unit has no connection to choose.
    const bool siteFile = m_pSheet->workMode() == WorkMode::SiteFile;
    m_pSheet->SetActivePage(m_pSheet->page(siteFile ? PageId::Welcome : PageId::Start));
    return ui::kWizardStay;
}

int CGeneral::OnWizardNext() {
    RebuildSequence();
    return ui::kWizardDefault;
}

void CGeneral::RebuildSequence() {
    DeviceData& d = Data();
    d.setReportFlags(d.reportFlags() & ~kFlagsInstalledMask);
    ui::ListView* installed = GetListView(IDC_INSTALLED);
    std::vector<fields::Page> chosen;
    for (int row = 0; row < installed->GetItemCount(); ++row) {
        const std::intptr_t protocol = installed->GetItemData(row);
        if (!ValidIndex(protocol)) continue;
        chosen.push_back(protocols::kProtocols[protocol].page);
        d.setReportFlag(protocols::kProtocols[protocol].installedFlag, true);
    }
    d.setReportFlag(kFlagAnd, IsDlgButtonChecked(IDC_AND));
    m_pSheet->SetPagesAfterCommunication(chosen);
}

void CGeneral::OnTimer(int id) {
    KillTimer(id);
    if (id == kSiteReportTimer)
        ui::MessageBox(GetSafeHwnd(), m_strSiteReport, AfxLangText("1104"),
                       ui::MessageIcon::Information);
}
