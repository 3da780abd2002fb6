#include "pages/DTMFconf.h"

#include "resources/Resource.h"

using namespace layout;

// A DTMF row's account code is kept at the row's index.
const CPhoneBook::RowLayout CDTMFconf::kRows{
    kSlotDtmfNumber0, 4, kPhoneNumberSize - 1, Codes::Accounts, AccountTable::Dtmf, true};

bool CDTMFconf::OnInitDialog() {
    if (!CPhoneBook::OnInitDialog()) return false;
    SetPageIcon(IDI_DTMF);
    UpdateData(false);
    SetAccountEntry(1);
    SetDigitsOnly(1);
    LoadRows(kRows);
    for (int id : {IDC_SCENARIO_0, IDC_SCENARIO_1, IDC_SCENARIO_TITLE}) ShowItem(id, true);
    CheckDlgButton(Data().reportFlag(kFlagDtmfVariant) ? IDC_SCENARIO_1 : IDC_SCENARIO_0, true);
    return true;
}

bool CDTMFconf::OnSetActive() {
    ShowOptions(kFlagDtmfPstn, kFlagDtmfOption);
    m_pEventMasks = Data().eventMasks(MaskTable::Dtmf);
    m_bEventFilter = 1;
    SetText(IDC_BOOK_TITLE, "600");
    SetText(IDC_BOOK_OPTION, "501");
    SetText(IDC_SCENARIO_TITLE, "609");
    SetText(IDC_SCENARIO_0, "610");
    SetText(IDC_SCENARIO_1, "611");
    UpdateData(false);
    return CPhoneBook::OnSetActive();
}

void CDTMFconf::Store() {
    if (StoreRows(kRows)) {
        StoreOptions(kFlagDtmfPstn, kFlagDtmfOption);
        StoreFlag(IDC_SCENARIO_1, kFlagDtmfVariant);
    }
}
