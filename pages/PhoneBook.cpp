#include "pages/PhoneBook.h"

#include <algorithm>
#include <cstring>

#include "device/Bytes.h"
#include "link/DeviceCommands.h"
#include "pages/PhoneProp.h"
#include "resources/Resource.h"
#include "resources/Templates.h"
#include "ui/Services.h"

using namespace layout;

namespace {

constexpr int kEditingControls[] = {IDC_BOOK_UP,     IDC_BOOK_DOWN,       IDC_BOOK_ADD,
                                    IDC_BOOK_REMOVE, IDC_BOOK_PROPERTIES, IDC_BOOK_LIST};
constexpr std::size_t kRowTextMax = 127;
constexpr CPhoneBook::Caption kBookCaptions[] = {
    {IDC_BOOK_ADD, "407"},  {IDC_BOOK_REMOVE, "408"}, {IDC_BOOK_PROPERTIES, "409"},
    {IDC_BOOK_UP, "410"},   {IDC_BOOK_DOWN, "411"},   {IDC_EVENT_TABLE, "414"},
    {IDC_BOOK_PSTN, "413"},
};

}  // namespace

CPhoneBook::CPhoneBook(std::span<const Caption> captions)
    : CWizardPage(GetTemplate(IDD_PHONEBOOK)),
      m_pImageList(std::make_unique<ui::ImageList>(kIconSize)),
      m_captions(captions) {
    OnClicked(IDC_BOOK_ADD, [this] { Add(); });
    OnClicked(IDC_BOOK_PROPERTIES, [this] { Properties(); });
    OnClicked(IDC_BOOK_REMOVE, [this] { Remove(); });
    OnClicked(IDC_BOOK_DOWN, [this] { Down(); });
    OnClicked(IDC_BOOK_UP, [this] { Up(); });
    OnClicked(IDC_SCENARIO_0, [this] { Scenario(0); });
    OnClicked(IDC_SCENARIO_1, [this] { Scenario(1); });
    OnClicked(IDC_SCENARIO_2, [this] { Scenario(2); });
}

ui::ListView* CPhoneBook::List() const {
    return GetListView(IDC_BOOK_LIST);
}

void CPhoneBook::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_BOOK_LIST_LABEL, m_strListLabel);
}

bool CPhoneBook::OnInitDialog() {
    if (!CWizardPage::OnInitDialog()) return false;
    List()->SetImageList(m_pImageList.get());
    if (List()->GetImageList() != m_pImageList.get()) return false;
    List()->onItemActivate = [this](int) { Properties(); };
    m_strNumber.clear();
    m_strCode.clear();
    m_pSheet->RequestEvents(*this);
    return true;
}

bool CPhoneBook::OnSetActive() {
    for (const auto& [id, section] : m_captions) SetText(id, section);
    for (const auto& [id, section] : kBookCaptions) SetText(id, section);
    UpdateData(false);
    PostButtons(ui::PSWIZB_BACK | ui::PSWIZB_NEXT);
    m_nRetries = kCatalogueRetries;
    return CWizardPage::OnSetActive();
}

int CPhoneBook::OnWizardBack() {
    Store();
    return ui::kWizardDefault;
}

int CPhoneBook::OnWizardNext() {
    Store();
    return ui::kWizardDefault;
}

// --- the event catalogue ---

std::intptr_t CPhoneBook::OnLinkResult(const LinkAnswer& answer) {
    if (answer.code == LinkResult::EventsRead && answer.ok) {
        m_pSheet->m_bEventsLoaded = 1;
        return 0;
    }
    ui::MessageBeep();
    if (m_nRetries > 0) {
        --m_nRetries;
        // A pause before the next request, with the window still painting.
        SetTimer(kRetryTimer, kRetryDelayMs);
    } else {
        m_pSheet->LinkLost();
    }
    return 0;
}

void CPhoneBook::OnTimer(int id) {
    KillTimer(id);
    if (id == kRetryTimer) m_pSheet->RequestEvents(*this);
}

// --- rows ---

std::uint8_t* CPhoneBook::RowMask(int row) const {
    if (!m_pEventMasks || row < 0 || row >= m_nCapacity) return nullptr;
    return m_pEventMasks + kEventMaskSize * static_cast<std::size_t>(row);
}

bool CPhoneBook::RunPhoneDialog(std::uint8_t* mask) {
    CPhoneProp dialog(m_strNumber, m_strCode, mask, m_bEventFilter, 0);
    dialog.SetEntry(m_entry);
    return dialog.DoModal() == ui::IDOK;
}

void CPhoneBook::Add() {
    m_strNumber.clear();
    m_strCode.clear();
    const int n = List()->GetItemCount();
    if (n >= m_nCapacity) {
        ui::MessageBox(GetSafeHwnd(), IDS_PHONEBOOK_FULL, kUserAccountCaption,
                       ui::MessageIcon::Exclamation);
        return;
    }
    if (!RunPhoneDialog(RowMask(n))) return;
    List()->InsertItem(n, m_strNumber, 0, n);
    m_strCodes[static_cast<std::size_t>(n)] = m_strCode;
}

void CPhoneBook::Properties() {
    const int i = List()->GetSelectionMark();
    if (i < 0 || i >= List()->GetItemCount()) return;
    m_strNumber = List()->GetItemText(i);
    m_strCode = m_strCodes[static_cast<std::size_t>(i)];
    if (!RunPhoneDialog(RowMask(i))) return;
    m_strCodes[static_cast<std::size_t>(i)] = m_strCode;
    List()->SetItemText(i, m_strNumber);
}

void CPhoneBook::Remove() {
    const int i = List()->GetSelectionMark();
    if (i < 0 || i >= List()->GetItemCount()) return;
    List()->DeleteItem(i);
    std::move(m_strCodes.begin() + i + 1, m_strCodes.end(), m_strCodes.begin() + i);
    if (m_pEventMasks && i + 1 < m_nCapacity) {
        std::memmove(RowMask(i), RowMask(i + 1),
                     kEventMaskSize * static_cast<std::size_t>(m_nCapacity - i - 1));
    }
}

void CPhoneBook::SwapRows(int a, int b) {
    std::swap(m_strCodes[static_cast<std::size_t>(a)], m_strCodes[static_cast<std::size_t>(b)]);
    if (RowMask(a) && RowMask(b))
        std::swap_ranges(RowMask(a), RowMask(a) + kEventMaskSize, RowMask(b));
}

// Re-inserts row `from` at `insertAt`, deletes the old one and leaves the mark on the moved row.
void CPhoneBook::MoveRow(int from, int insertAt, int mark) {
    ui::ListView* list = List();
    const std::string text = list->GetItemText(from).substr(0, kRowTextMax);
    const int image = list->GetItemImage(from);
    const std::intptr_t data = list->GetItemData(from);
    list->InsertItem(insertAt, text, image, data);
    list->DeleteItem(insertAt <= from ? from + 1 : from);
    list->SetSelectionMark(mark);
}

void CPhoneBook::Up() {
    const int i = List()->GetSelectionMark();
    if (i < 1 || i >= List()->GetItemCount()) return;
    SwapRows(i - 1, i);
    MoveRow(i, i - 1, i - 1);
}

void CPhoneBook::Down() {
    const int i = List()->GetSelectionMark();
    if (i < 0 || i >= List()->GetItemCount() - 1) return;
    SwapRows(i, i + 1);
    MoveRow(i, i + 2, i + 1);
}

// --- scenarios ---

void CPhoneBook::EnableEditing(bool enable) {
    for (int id : kEditingControls) EnableItem(id, enable);
}

void CPhoneBook::SetScenarioValue(int value) {
    DeviceData& d = Data();
    d.setPhoneBookFlags(static_cast<std::uint8_t>((d.phoneBookFlags() & ~kScenarioMask) | value));
}

void CPhoneBook::Scenario(int value) {
    if (!m_bScenarios) return;
    DeviceData& d = Data();
    switch (value) {
        case 0:
            EnableEditing(false);
            SetScenarioValue(0);
            d.setUserCode({});
            break;
        case 1: {
            EnableEditing(false);
            m_strNumber.clear();
            m_strCode = d.slotText(kSlotUserCode);
            CPhoneProp dialog(m_strNumber, m_strCode, nullptr, 0, 0);
            dialog.SetEntry({.password = m_entry.password, .passwordOnly = m_bPasswordOnly != 0});
            if (dialog.DoModal() != ui::IDOK) return;
            d.setUserCode(m_strCode);
            SetScenarioValue(1);
            break;
        }
        default:
            EnableEditing(true);
            SetScenarioValue(2);
            break;
    }
}

// --- what the derived pages share ---

void CPhoneBook::LoadRows(const RowLayout& rows) {
    ui::ListView* list = List();
    list->DeleteAllItems();
    const DeviceData& d = Data();
    int k = 0;
    for (int slot = 0; slot < rows.slotCount; ++slot) {
        const std::string number = d.slotText(rows.firstSlot + slot);
        if (number.empty()) continue;
        std::string code;
        if (rows.codes == Codes::Accounts) code = d.accountText(rows.accounts, k);
        if (rows.codes == Codes::SupervisorCodes) code = d.slotText(kSlotSupervisorCode0 + k);
        m_strCodes[static_cast<std::size_t>(k)] = code;
        list->InsertItem(k, number, 0, k);
        ++k;
    }
}

bool CPhoneBook::StoreRows(const RowLayout& rows) {
    UpdateData(true);
    DeviceData& d = Data();
    int k = 0;
    for (int i = 0; i < rows.slotCount; ++i) {
        const std::string number = List()->GetItemText(i);
        if (number.empty()) continue;
        if (number.size() > rows.maxLength) return false;
        d.setSlotText(rows.firstSlot + k, number);
        const std::string& code = m_strCodes[static_cast<std::size_t>(i)];
        const int at = rows.codeAtRow ? i : k;
        if (rows.codes == Codes::Accounts)
            StorePadded(d.account(rows.accounts, at).data(), kAccountSize, code);
        if (rows.codes == Codes::SupervisorCodes)
            StorePadded(d.slot(kSlotSupervisorCode0 + at).data(), kSupervisorCodeSize, code);
        ++k;
    }
    for (; k < rows.slotCount; ++k) d.slot(rows.firstSlot + k)[0] = 0;
    return true;
}

void CPhoneBook::SetPageIcon(const char* icon) {
    m_pImageList->Add(icon);
    SetPicture(IDC_BOOK_ICON, icon);
}

void CPhoneBook::CheckFromFlag(int id, std::uint32_t bit) {
    CheckDlgButton(id, Data().reportFlag(bit));
}

void CPhoneBook::CheckIfFlag(int id, std::uint32_t bit) {
    if (Data().reportFlag(bit)) CheckDlgButton(id, true);
}

void CPhoneBook::StoreFlag(int id, std::uint32_t bit) {
    Data().setReportFlag(bit, IsDlgButtonChecked(id));
}

void CPhoneBook::ShowOptions(std::uint32_t pstnBit, std::uint32_t optionBit) {
    CheckFromFlag(IDC_BOOK_PSTN, pstnBit);
    ShowItem(IDC_BOOK_OPTION, true);
    CheckIfFlag(IDC_BOOK_OPTION, optionBit);
}

void CPhoneBook::StoreOptions(std::uint32_t pstnBit, std::uint32_t optionBit) {
    StoreFlag(IDC_BOOK_PSTN, pstnBit);
    StoreFlag(IDC_BOOK_OPTION, optionBit);
}
