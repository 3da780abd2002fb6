#include "pages/ProtocolBook.h"

#include <iterator>

#include "resources/Resource.h"

namespace {

// By the protocol's index in protocols::kProtocols.
constexpr const char* kIcons[] = {IDI_DTMF, IDI_CID_SMS, IDI_SMS, IDI_IP};
static_assert(std::size(kIcons) == std::size(protocols::kProtocols));

}  // namespace

const char* ProtocolIcon(const protocols::Protocol& protocol) {
    return kIcons[&protocol - protocols::kProtocols];
}

CProtocolBook::CProtocolBook(const protocols::Protocol& protocol, std::span<const Caption> captions)
    : CPhoneBook(captions), m_protocol(protocol), m_rows(RowsOf(protocol)) {
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
    SetPageIcon(ProtocolIcon(m_protocol));
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
    SetText(IDC_BOOK_TITLE, m_protocol.titleSection);
    SetText(IDC_BOOK_OPTION, m_protocol.optionSection);
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
