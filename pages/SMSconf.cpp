#include "pages/SMSconf.h"

#include "resources/Resource.h"

using namespace layout;

const CPhoneBook::RowLayout CSMSconf::kRows{kSlotSmsNumber0, 4, kPhoneNumberSize - 1};

bool CSMSconf::OnInitDialog() {
    if (!CPhoneBook::OnInitDialog()) return false;
    SetPageIcon(IDI_SMS);
    UpdateData(false);
    SetAccountEntry(0);
    SetDigitsOnly(1);
    LoadRows(kRows);
    return true;
}

bool CSMSconf::OnSetActive() {
    ShowOptions(kFlagSmsPstn, kFlagSmsOption);
    m_pEventMasks = Data().eventMasks(MaskTable::Sms);
    m_bEventFilter = 0;
    SetText(IDC_BOOK_TITLE, "500");
    SetText(IDC_BOOK_OPTION, "501");
    UpdateData(false);
    return CPhoneBook::OnSetActive();
}

void CSMSconf::Store() {
    if (StoreRows(kRows)) {
        StoreOptions(kFlagSmsPstn, kFlagSmsOption);
    }
}
