#include "transfer/DialingDlg.h"

#include "device/Layout.h"
#include "resources/Resource.h"
#include "resources/Templates.h"

namespace {

enum Timer : int { kDialTimer = 1, kPollTimer };
constexpr int kFirstDelayMs = 1;
constexpr int kRetryDelayMs = 3000;
constexpr int kProgressMax = 100;

// The statuses that only put a line on the page, and whether the call is still on.
struct StatusLine {
    std::int8_t status;
    const char* text;
    bool wait;
};
constexpr StatusLine kStatusLines[] = {
    {dialstatus::kDialling, "Dailing!", true},
    {dialstatus::kCheckPassword, "Check password", true},
    {dialstatus::kDownloadParameters, "Download parameters", true},
    {dialstatus::kDownloadInfo, "Download InfoStruct", true},
    {dialstatus::kDownloadEvents, "Download Events", true},
    {dialstatus::kDownloadFinished, "Download finished", true},
    {dialstatus::kPasswordError, "Password error!", true},
    {dialstatus::kNoCarrier, "No carrier", false},
    {dialstatus::kNoCarrier2, "No carrier", false},
    {dialstatus::kUnknownNumber, "I don't know your phone number!", false},
};

// Milliseconds from `since` to now.
long long ElapsedMs(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 since)
        .count();
}

}  // namespace

CDialingDlg::CDialingDlg() : CWizardPage(GetTemplate(IDD_TRANSFER)) {}

void CDialingDlg::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_DIAL_STATUS, m_strStatus);
}

bool CDialingDlg::OnInitDialog() {
    if (!CWizardPage::OnInitDialog()) return false;
    SetProgressRange(IDC_DIAL_PROGRESS, 0, kProgressMax);
    return true;
}

bool CDialingDlg::OnSetActive() {
    PostButtons(ui::PSWIZB_BACK);
    m_nAnswers = 0;
    SetProgressPos(IDC_DIAL_PROGRESS, 0);
    m_strStatus = "Dialing";
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
    m_lastRequest = std::chrono::steady_clock::now();
    m_pSheet->m_link.RequestDial(handle());
}

void CDialingDlg::RequestStatus() {
    m_lastRequest = std::chrono::steady_clock::now();
    m_pSheet->m_link.RequestStatus(handle());
}

void CDialingDlg::PollAgain() {
    const long long left = m_lastRequest ? kStatusCycleMs - ElapsedMs(*m_lastRequest) : 0;
    if (left > 0)
        SetTimer(kPollTimer, static_cast<int>(left));
    else
        RequestStatus();
}

std::intptr_t CDialingDlg::OnLinkResult(const LinkAnswer& answer) {
    if (answer.code != LinkResult::OneByte) return -1;
    ReplaceSel(IDC_DIAL_LOG, "\r\nCommand " + std::to_string(static_cast<int>(answer.code)) + " " +
                                 std::to_string(answer.value));
    // The bar keeps its last position once it is full.
    SetProgressPos(IDC_DIAL_PROGRESS, std::min(m_nAnswers, kProgressMax));
    ++m_nAnswers;
    const bool wait = ApplyStatus(answer.status());
    UpdateData(false);
    // A page the installer has left with Back polls no more.
    if (wait && m_pSheet->GetActivePage() == this) PollAgain();
    return 0;
}

bool CDialingDlg::ApplyStatus(std::int8_t status) {
    for (const StatusLine& line : kStatusLines) {
        if (line.status != status) continue;
        m_strStatus = line.text;
        return line.wait;
    }
    switch (status) {
        case dialstatus::kNothing:
            m_strStatus += '.';
            return true;
        case dialstatus::kConnected:
            m_pSheet->SetActivePage(m_pSheet->page(PageId::General));
            return false;
        case dialstatus::kAborted:
            m_strStatus.clear();
            SetDlgItemText(IDC_DIAL_LOG, "");
            SetProgressPos(IDC_DIAL_PROGRESS, 0);
            m_pSheet->SetActivePage(m_pSheet->page(PageId::Start));
            return false;
        case dialstatus::kCommunicationError:
            m_strStatus += "  Error communication. Try again";
            return false;
        default:
            return false;
    }
}
