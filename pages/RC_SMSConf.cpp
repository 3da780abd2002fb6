#include "pages/RC_SMSConf.h"

#include "resources/Resource.h"

using namespace layout;

const CPhoneBook::RowLayout CRC_SMSConf::kRows{kSlotCidSmsNumber0, 4, kPhoneNumberSize - 1,
                                               Codes::Accounts, AccountTable::CidSms};

bool CRC_SMSConf::OnInitDialog() {
    if (!CPhoneBook::OnInitDialog()) return false;
    SetPageIcon(IDI_CID_SMS);
    UpdateData(false);
    SetAccountEntry(1);
    SetDigitsOnly(1);
    LoadRows(kRows);
    return true;
}

bool CRC_SMSConf::OnSetActive() {
    ShowOptions(kFlagCidSmsPstn, kFlagCidSmsOption);
    m_pEventMasks = Data().eventMasks(MaskTable::CidSms);
    m_bEventFilter = 0;
    SetText(IDC_BOOK_TITLE, "520");
    SetText(IDC_BOOK_OPTION, "521");
    UpdateData(false);
    return CPhoneBook::OnSetActive();
}

void CRC_SMSConf::Store() {
    if (StoreRows(kRows)) {
        StoreOptions(kFlagCidSmsPstn, kFlagCidSmsOption);
    }
}
