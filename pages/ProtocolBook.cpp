#include "pages/ProtocolBook.h"

#include "resources/Resource.h"

CProtocolBook::CProtocolBook(const protocols::Protocol& protocol, const Look& look)
    : m_protocol(protocol), m_look(look), m_rows(RowsOf(protocol)) {}

CPhoneBook::RowLayout CProtocolBook::RowsOf(const protocols::Protocol& protocol) {
    return {protocol.firstSlot, static_cast<int>(layout::kMasksPerTable), protocol.numberSize - 1,
            protocol.hasAccounts ? Codes::Accounts : Codes::None, protocol.accounts};
}

bool CProtocolBook::OnInitDialog() {
    if (!CPhoneBook::OnInitDialog()) return false;
    SetPageIcon(m_look.icon);
    UpdateData(false);
    SetAccountEntry(m_protocol.hasAccounts ? 1 : 0);
    SetDigitsOnly(1);
    LoadRows(m_rows);
    return true;
}

bool CProtocolBook::OnSetActive() {
    ShowOptions(m_protocol.pstnFlag, m_protocol.optionFlag);
    m_pEventMasks = Data().eventMasks(m_protocol.masks);
    m_bEventFilter = 0;
    SetText(IDC_BOOK_TITLE, m_look.titleSection);
    SetText(IDC_BOOK_OPTION, m_look.optionSection);
    UpdateData(false);
    return CPhoneBook::OnSetActive();
}

void CProtocolBook::Store() {
    if (StoreRows(m_rows)) StoreOptions(m_protocol.pstnFlag, m_protocol.optionFlag);
}
