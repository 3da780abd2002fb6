#include "pages/IPconf.h"

#include <array>
#include <iterator>
#include <string>

#include "resources/Resource.h"

using namespace layout;

namespace {

constexpr CPhoneBook::Caption kCaptions[] = {
    {IDC_APN_LABEL, "801"},
    {IDC_APN_PASSWORD_LABEL, "802"},
    {IDC_APN_USER_LABEL, "803"},
};

constexpr int kLoginEdits[] = {IDC_APN, IDC_APN_USER, IDC_APN_PASSWORD};
using LoginLengths = std::array<std::size_t, std::size(kLoginEdits)>;

// The login's length once all three are stored. A password typed before its user counts with
// both separators, so that the user still fits when it comes.
std::size_t LoginLength(const LoginLengths& n) {
    const auto [accessPoint, user, password] = n;
    std::size_t length = accessPoint;
    if (user > 0 || password > 0) length += 1 + user;
    if (password > 0) length += 1 + password;
    return length;
}

}  // namespace

CIPconf::CIPconf() : CProtocolBook(protocols::kIp, kCaptions) {
    for (int id : kLoginEdits) OnChange(id, [this] { LimitLogin(); });
}

void CIPconf::LimitLogin() {
    LoginLengths lengths{};
    for (std::size_t i = 0; i < lengths.size(); ++i)
        lengths[i] = GetDlgItemText(kLoginEdits[i]).size();
    const std::size_t room = kApnLoginSize - 1;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        LoginLengths with = lengths;
        with[i] = kLoginFieldMax;
        while (with[i] > 0 && LoginLength(with) > room) --with[i];
        LimitText(kLoginEdits[i], static_cast<int>(with[i]));
    }
}

bool CIPconf::OnInitDialog() {
    if (!CProtocolBook::OnInitDialog()) return false;
    for (int id : {IDC_APN_LABEL, IDC_APN, IDC_APN_USER_LABEL, IDC_APN_USER, IDC_APN_PASSWORD_LABEL,
                   IDC_APN_PASSWORD})
        ShowItem(id, true);
    const ApnLogin login = SplitApnLogin(Data().slotText(kSlotApnLogin));
    SetDlgItemText(IDC_APN, login.accessPoint);
    SetDlgItemText(IDC_APN_USER, login.user);
    SetDlgItemText(IDC_APN_PASSWORD, login.password);
    LimitLogin();
    return true;
}

void CIPconf::Store() {
    if (!StoreProtocol()) return;
    const std::string login = JoinApnLogin(
        {GetDlgItemText(IDC_APN), GetDlgItemText(IDC_APN_USER), GetDlgItemText(IDC_APN_PASSWORD)});
    Data().setSlotText(kSlotApnLogin, login);
}
