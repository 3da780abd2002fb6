#include "pages/ProtocolBook.h"

#include "resources/Resource.h"

CProtocolBook::CProtocolBook(const protocols::Protocol& protocol, const Look& look)
    : CPhoneBook(look.captions), m_protocol(protocol), m_icon(look.icon), m_rows(RowsOf(protocol)) {
    m_entry.account = protocol.hasAccounts;
    m_entry.digitsOnly = !protocol.destinations;
    m_entry.numberLimit = static_cast<int>(protocol.numberSize) - 1;
}

CPhoneBook::RowLayout CProtocolBook::RowsOf(const protocols::Protocol& protocol) {
    return {protocol.firstSlot,      static_cast<int>(layout::kMasksPerTable),
            protocol.numberSize - 1, protocol.hasAccounts ? Codes::Accounts : Codes::None,
            protocol.accounts,       protocol.accountAtRow};
}

bool CProtocolBook::OnInitDialog() {
    if (!CPhoneBook::OnInitDialog()) return false;
    SetPageIcon(m_icon);
    UpdateData(false);
    LoadRows(m_rows);
    if (m_protocol.variantFlag) {
        for (int id : {IDC_SCENARIO_0, IDC_SCENARIO_1, IDC_SCENARIO_TITLE}) ShowItem(id, true);
        CheckDlgButton(Data().reportFlag(m_protocol.variantFlag) ? IDC_SCENARIO_1 : IDC_SCENARIO_0,
                       true);
    }
    return true;
}

bool CProtocolBook::OnSetActive() {
    ShowOptions(m_protocol.pstnFlag, m_protocol.optionFlag);
    m_pEventMasks = Data().eventMasks(m_protocol.masks);
    m_bEventFilter = m_protocol.filteredEvents ? 1 : 0;
    return CPhoneBook::OnSetActive();
}

void CProtocolBook::Store() {
    StoreProtocol();
}

bool CProtocolBook::StoreProtocol() {
    if (!StoreRows(m_rows)) return false;
    StoreOptions(m_protocol.pstnFlag, m_protocol.optionFlag);
    if (m_protocol.variantFlag) StoreFlag(IDC_SCENARIO_1, m_protocol.variantFlag);
    return true;
}
