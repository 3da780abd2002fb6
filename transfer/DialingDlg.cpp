#include "transfer/DialingDlg.h"

#include <QProgressBar>

#include "device/Layout.h"
#include "resources/Resource.h"
#include "resources/Templates.h"

namespace {
constexpr int kProgressMax = 100;
}

CDialingDlg::CDialingDlg() : CWizardPage(GetTemplate(IDD_TRANSFER)) {}

void CDialingDlg::DoDataExchange(ui::DataExchange& dx) { dx.Text(IDC_DIAL_STATUS, m_strStatus); }

bool CDialingDlg::OnInitDialog() {
    if (!CWizardPage::OnInitDialog()) return false;
    GetProgressBar(IDC_DIAL_PROGRESS)->setRange(0, kProgressMax);
    return true;
}

bool CDialingDlg::OnSetActive() {
    PostButtons(ui::PSWIZB_BACK);
    m_nAnswers = 0;
    GetProgressBar(IDC_DIAL_PROGRESS)->setValue(0);
    m_strStatus = QStringLiteral("Dialing");
    UpdateData(false);
    SetTimer(kDialTimer, m_bFirstActivation ? kFirstDelayMs : kRetryDelayMs);
    return CWizardPage::OnSetActive();
}

int CDialingDlg::OnWizardBack() {
    m_bFirstActivation = 0;
    // The installer has given up this call: no dial request and no status wait may follow.
    KillTimer(kDialTimer);
    KillTimer(kPollTimer);
    return CWizardPage::OnWizardBack();
}

void CDialingDlg::OnTimer(int id) {
    KillTimer(id);
    if (m_pSheet->GetActivePage() != this) return;
    if (id == kPollTimer) {
        RequestStatus();
        return;
    }
    m_sinceRequest.start();
    m_pSheet->m_link.RequestDial(handle());
}

void CDialingDlg::RequestStatus() {
    m_sinceRequest.start();
    m_pSheet->m_link.RequestStatus(handle());
}

void CDialingDlg::PollAgain() {
    const auto left = m_sinceRequest.isValid() ? kStatusCycleMs - m_sinceRequest.elapsed() : 0;
    if (left > 0)
        SetTimer(kPollTimer, static_cast<int>(left));
    else
        RequestStatus();
}

std::intptr_t CDialingDlg::OnLinkResult(int code, std::intptr_t value) {
    if (code != linkresult::kOneByte) return -1;
    ReplaceSel(IDC_DIAL_LOG, QStringLiteral("\r\nCommand %1 %2").arg(code).arg(value));
    // The bar keeps its last position once it is full.
    GetProgressBar(IDC_DIAL_PROGRESS)->setValue(std::min(m_nAnswers, kProgressMax));
    ++m_nAnswers;
    const bool wait = ApplyStatus(static_cast<std::int8_t>(value));
    UpdateData(false);
    // A page the installer has left with Back polls no more.
    if (wait && m_pSheet->GetActivePage() == this) PollAgain();
    return 0;
}

bool CDialingDlg::ApplyStatus(std::int8_t status) {
    switch (status) {
        case dialstatus::kNothing: m_strStatus += '.'; return true;
        case dialstatus::kDialling: m_strStatus = QStringLiteral("Dailing!"); return true;
        case dialstatus::kCheckPassword: m_strStatus = QStringLiteral("Check password"); return true;
        case dialstatus::kDownloadParameters:
            m_strStatus = QStringLiteral("Download parameters");
            return true;
        case dialstatus::kDownloadInfo: m_strStatus = QStringLiteral("Download InfoStruct"); return true;
        case dialstatus::kDownloadEvents: m_strStatus = QStringLiteral("Download Events"); return true;
        case dialstatus::kDownloadFinished: m_strStatus = QStringLiteral("Download finished"); return true;
        case dialstatus::kPasswordError: m_strStatus = QStringLiteral("Password error!"); return true;
        case dialstatus::kConnected:
            m_pSheet->SetActivePage(m_pSheet->page(PageId::General));
            return false;
        case dialstatus::kNoCarrier:
        case dialstatus::kNoCarrier2: m_strStatus = QStringLiteral("No carrier"); return false;
        case dialstatus::kUnknownNumber:
            m_strStatus = QStringLiteral("I don't know your phone number!");
            return false;
        case dialstatus::kAborted:
            m_strStatus.clear();
            SetDlgItemText(IDC_DIAL_LOG, QString());
            GetProgressBar(IDC_DIAL_PROGRESS)->setValue(0);
            m_pSheet->SetActivePage(m_pSheet->page(PageId::Start));
            return false;
        case dialstatus::kCommunicationError:
            m_strStatus += QStringLiteral("  Error communication. Try again");
            return false;
        default: return false;
    }
}
