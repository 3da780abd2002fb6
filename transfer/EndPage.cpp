#include "transfer/EndPage.h"

#include <cstdlib>
#include <memory>

#include "resources/Resource.h"
#include "resources/Templates.h"
#include "ui/Services.h"

using namespace layout;

CEndPage::CEndPage() : CWizardPage(GetTemplate(IDD_END)) {
    OnClicked(IDC_SAVE_SITE_FILE, [this] { SaveSiteFile(); });
}

void CEndPage::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_END_TITLE, m_strTitle);
}

bool CEndPage::OnInitDialog() {
    if (!CWizardPage::OnInitDialog()) return false;
    LimitText(IDC_END_TEXT1, kEndTextMax);
    LimitText(IDC_END_TEXT2, kEndTextMax);
    LimitText(IDC_CUSD, kCusdDigits);
    return true;
}

bool CEndPage::OnSetActive() {
    PostButtons(ui::PSWIZB_BACK | ui::PSWIZB_FINISH);
    m_nRetries = kUploadRetries;
    m_bDone = 0;
    m_strTitle = Text("1001");
    UpdateData(false);
    SetText(IDC_END_TEXT1_LABEL, "1002");
    SetText(IDC_END_TEXT2_LABEL, "1003");
    SetText(IDC_TAMPER_GROUP, "1005");
    SetText(IDC_TAMPER_GSM, "1006");
    SetText(IDC_TAMPER_TCP, "1007");
    SetText(IDC_TAMPER_SYSTEM, "1008");
    SetText(IDC_CUSD_LABEL, "1009");
    SetText(IDC_SAVE_SITE_FILE, "1101");
    SetText(IDC_INCLUDE_PASSWORDS, "1102");
    const DeviceData& d = Data();
    SetDlgItemText(IDC_END_TEXT1, d.slotText(kSlotEndPageText1));
    SetDlgItemText(IDC_END_TEXT2, d.slotText(kSlotEndPageText2));
    SetDlgItemText(IDC_CUSD, std::to_string(d.cusdValue()));
    // A clear bit leaves its box as the installer left it.
    const std::uint8_t tamper = d.tamperEventFlags();
    if (tamper & kTamperGsmError) CheckDlgButton(IDC_TAMPER_GSM, true);
    if (tamper & kTamperTcpError) CheckDlgButton(IDC_TAMPER_TCP, true);
    if (tamper & kTamperSystemError) CheckDlgButton(IDC_TAMPER_SYSTEM, true);
    return CWizardPage::OnSetActive();
}

void CEndPage::ReadTamperBoxes() {
    std::uint8_t tamper = Data().tamperEventFlags();
    auto set = [&](std::uint8_t bit, bool on) {
        tamper =
            on ? static_cast<std::uint8_t>(tamper | bit) : static_cast<std::uint8_t>(tamper & ~bit);
    };
    set(kTamperGsmError, IsDlgButtonChecked(IDC_TAMPER_GSM));
    set(kTamperTcpError, IsDlgButtonChecked(IDC_TAMPER_TCP));
    set(kTamperSystemError, IsDlgButtonChecked(IDC_TAMPER_SYSTEM));
    set(kTamperUploaded, true);
    Data().setTamperEventFlags(tamper);
}

void CEndPage::ReadCusd() {
    // As atoi reads it: a leading signed number, anything else 0; the low 16 bits are kept.
    const std::string text = GetDlgItemText(IDC_CUSD).substr(0, kCusdReadMax);
    Data().setCusdValue(static_cast<std::uint16_t>(std::atoi(text.c_str())));
}

void CEndPage::BuildImage(DeviceData& data) {
    ReadTamperBoxes();
    ReadCusd();
    if (&data != &Data()) data = Data();
    BuildConfigurationImage(data, m_image, GetDlgItemText(IDC_END_TEXT1),
                            GetDlgItemText(IDC_END_TEXT2),
                            static_cast<std::uint16_t>(m_pSheet->m_nLangCode & 0xFFFF));
}

// What Finish would write, saved without writing it: the image is built on a copy.
void CEndPage::SaveSiteFile() {
    auto written = std::make_unique<DeviceData>();
    BuildImage(*written);
    m_pSheet->m_siteFiles.Save(GetSafeHwnd(), *written, IsDlgButtonChecked(IDC_INCLUDE_PASSWORDS));
}

bool CEndPage::OnWizardFinish() {
    PostButtons(0);
    m_pSheet->m_siteFiles.BackupBeforeUpload(GetSafeHwnd(), Data());
    BuildImage(Data());
    m_pSheet->m_link.RequestUpload(handle());
    return false;  // the page stays while the upload runs
}

std::intptr_t CEndPage::OnLinkResult(int code, std::intptr_t value) {
    if (m_bDone) return 0;  // the disconnect's answer, while the program ends
    if (code == linkresult::kUploaded && value == 0) {
        m_bDone = 1;
        m_pSheet->m_siteFiles.BackupAfterUpload(GetSafeHwnd(), Data());
        // The unit has the configuration: Cancel in the second before the end says so too.
        m_pSheet->SetExitStatus(kExitStatus);
        m_pSheet->m_link.RequestDisconnect(handle());
        SetTimer(kExitTimer, kExitDelayMs);
        return 0;
    }
    RetryUpload();
    return 0;
}

// An upload the unit refused or did not answer is sent again, five times at most; then the
// link counts as lost.
void CEndPage::RetryUpload() {
    ui::MessageBeep();
    if (m_nRetries > 0) {
        --m_nRetries;
        m_pSheet->m_link.RequestUpload(handle());
        return;
    }
    m_pSheet->m_nComPort = 0;
    m_pSheet->SetActivePage(kErrorPageIndex);
}

void CEndPage::OnTimer(int id) {
    KillTimer(id);
    if (id == kExitTimer) m_pSheet->EndProgram(kExitStatus);
}
