#include "app/StartPage.h"

#include "app/Profile.h"
#include "device/DeviceData.h"
#include "resources/Resource.h"
#include "resources/Templates.h"

const char* const kDataProtocols[4] = {"V.110 - 14400 bps", "V.110 - 9600 bsp", "V.32 - 14400 bps",
                                       "V.32 - 9600 bps"};

namespace {

bool ModemReportsProblem(std::int32_t lastError) {
    return lastError != layout::kLastErrorNone && lastError != layout::kLastErrorHarmless;
}

}  // namespace

CStartPage::CStartPage(DialogRunner runPinCodeDialog, DialogRunner runModemInfoDialog)
    : CWizardPage(GetTemplate(IDD_CONNECTION)),
      m_runPinCodeDialog(std::move(runPinCodeDialog)),
      m_runModemInfoDialog(std::move(runModemInfoDialog)) {
    OnClicked(IDC_LOCAL, [this] {
        EnableRemoteFields(false);
        PostButtons(ui::PSWIZB_BACK | ui::PSWIZB_NEXT);
        m_pSheet->remoteMode = 0;
    });
    OnClicked(IDC_REMOTE, [this] {
        EnableRemoteFields(true);
        PostButtons(ui::PSWIZB_BACK | ui::PSWIZB_NEXT);
        m_pSheet->remoteMode = 1;
    });
    OnClicked(IDC_OPEN_SITE_FILE, [this] { m_pSheet->m_siteFiles.Open(GetSafeHwnd()); });
}

bool CStartPage::OnInitDialog() {
    if (!CWizardPage::OnInitDialog()) return false;
    if (Data().pinState() == layout::kPinStateRequired)
        SetTimer(kPinTimer, 1);
    else if (Data().lastError() != layout::kLastErrorNone)
        SetTimer(kModemTimer, 1);
    for (const char* name : kDataProtocols) AddComboItem(IDC_DATA_PROTOCOL, name);
    const int stored = GetProfileInt(kSettingSection, kProtocolValue, 0);
    SetComboSelection(IDC_DATA_PROTOCOL,
                      stored >= 0 && stored < GetComboCount(IDC_DATA_PROTOCOL) ? stored : -1);
    LimitText(IDC_PHONE, kPhoneMax);
    LimitText(IDC_PASSWORD, kPasswordMax);
    m_pSheet->remoteMode = 0;
    return true;
}

void CStartPage::OnTimer(int id) {
    KillTimer(id);
    if (id == kPinTimer) m_runPinCodeDialog(GetSafeHwnd());
    if (id == kModemTimer && Data().lastError() != layout::kLastErrorHarmless)
        m_runModemInfoDialog(GetSafeHwnd());
}

bool CStartPage::OnSetActive() {
    PostButtons(ui::PSWIZB_BACK);
    // The language text is shown as it stands, even if it holds a '%'.
    const std::string note = m_pSheet->WorkNote();
    SetDlgItemText(IDC_STATUS_LINE, Text("101") + " COM" + std::to_string(m_pSheet->m_nComPort) +
                                        (note.empty() ? "" : " (" + note + ")"));
    SetDlgItemText(IDC_PHONE, GetProfileString(kSettingSection, kPhoneValue, ""));
    SetText(IDC_REMOTE, "102");
    SetText(IDC_LOCAL, "103");
    SetText(IDC_PHONE_LABEL, "106");
    SetText(IDC_PASSWORD_LABEL, "108");
    SetText(IDC_PROTOCOL_LABEL, "109");
    SetText(IDC_OPEN_SITE_FILE, "1100");
    // Coming back from a remote session ends the call.
    if (m_pSheet->remoteMode == 1) m_pSheet->m_link.RequestDisconnect(0);
    CheckDlgButton(IDC_LOCAL, false);
    CheckDlgButton(IDC_REMOTE, false);
    EnableItem(IDC_REMOTE, !ModemReportsProblem(Data().lastError()));
    SetDlgItemText(IDC_PASSWORD, "");
    EnableItem(IDC_PASSWORD, false);
    EnableItem(IDC_PHONE, false);
    EnableItem(IDC_PROTOCOL_LABEL, false);
    EnableItem(IDC_DATA_PROTOCOL, false);
    m_pSheet->identifyPending = 1;
    m_pSheet->ForgetEvents();
    return CWizardPage::OnSetActive();
}

void CStartPage::EnableRemoteFields(bool enable) {
    for (int id : {IDC_PHONE_LABEL, IDC_PHONE, IDC_PASSWORD_LABEL, IDC_PASSWORD, IDC_PROTOCOL_LABEL,
                   IDC_DATA_PROTOCOL})
        EnableItem(id, enable);
}

int CStartPage::OnWizardNext() {
    if (m_pSheet->remoteMode == 0) {
        m_pSheet->SetActivePage(m_pSheet->page(PageId::General));
        return ui::kWizardStay;
    }
    WriteDialRequest();
    return ui::kWizardDefault;
}

void CStartPage::WriteDialRequest() {
    // With nothing selected the first protocol is stored and sent.
    const int protocol = std::max(0, GetComboSelection(IDC_DATA_PROTOCOL));
    WriteProfileInt(kSettingSection, kProtocolValue, protocol);
    const std::string phone = GetDlgItemText(IDC_PHONE).substr(0, kPhoneMax);
    WriteProfileString(kSettingSection, kPhoneValue, phone);
    BuildDialRequest(Data(), phone, GetDlgItemText(IDC_PASSWORD),
                     static_cast<std::uint8_t>(protocol));
}
