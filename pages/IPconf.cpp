#include "pages/IPconf.h"

#include "resources/Resource.h"

using namespace layout;

const CPhoneBook::RowLayout CIPconf::kRows{kSlotIpDestination0, 4, kIpDestinationSize - 1,
                                            Codes::Accounts, AccountTable::Ip};

ApnLogin SplitApnLogin(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return {text, {}, {}};
    const std::string rest = text.substr(comma + 1);
    const auto colon = rest.find(':');
    if (colon == std::string::npos) return {text.substr(0, comma), rest, {}};
    return {text.substr(0, comma), rest.substr(0, colon), rest.substr(colon + 1)};
}

std::string JoinApnLogin(const ApnLogin& login) {
    std::string text = login.accessPoint;
    if (login.user.empty()) return text;
    text += ',' + login.user;
    if (!login.password.empty()) text += ':' + login.password;
    return text;
}

CIPconf::CIPconf() { m_nNumberLimit = static_cast<int>(kIpDestinationSize) - 1; }

bool CIPconf::OnInitDialog() {
    if (!CPhoneBook::OnInitDialog()) return false;
    SetPageIcon(IDI_IP);
    UpdateData(false);
    SetAccountEntry(1);
    SetDigitsOnly(0);
    for (int id : {IDC_APN_LABEL, IDC_APN, IDC_APN_USER_LABEL, IDC_APN_USER,
                   IDC_APN_PASSWORD_LABEL, IDC_APN_PASSWORD})
        ShowItem(id, true);
    for (int id : {IDC_APN, IDC_APN_USER, IDC_APN_PASSWORD}) LimitText(id, kLoginFieldMax);
    const ApnLogin login = SplitApnLogin(Data().slotText(kSlotApnLogin));
    SetDlgItemText(IDC_APN, login.accessPoint);
    SetDlgItemText(IDC_APN_USER, login.user);
    SetDlgItemText(IDC_APN_PASSWORD, login.password);
    LoadRows(kRows);
    m_pEventMasks = Data().eventMasks(MaskTable::Ip);
    m_bEventFilter = 1;
    return true;
}

bool CIPconf::OnSetActive() {
    if (!CPhoneBook::OnSetActive()) return false;
    SetText(IDC_BOOK_OPTION, "501");
    SetText(IDC_BOOK_TITLE, "800");
    SetText(IDC_APN_LABEL, "801");
    SetText(IDC_APN_PASSWORD_LABEL, "802");
    SetText(IDC_APN_USER_LABEL, "803");
    ShowOptions(kFlagIpPstn, kFlagIpOption);
    UpdateData(false);
    return true;
}

void CIPconf::Store() {
    if (!StoreRows(kRows)) return;
    StoreOptions(kFlagIpPstn, kFlagIpOption);
    const std::string login = JoinApnLogin(
        {GetDlgItemText(IDC_APN), GetDlgItemText(IDC_APN_USER), GetDlgItemText(IDC_APN_PASSWORD)});
    Data().setSlotText(kSlotApnLogin, login);
}
