#include "transfer/ErrorPage.h"

#include "resources/Resource.h"
#include "resources/Templates.h"
#include "transfer/PortFailures.h"
#include "ui/Services.h"

namespace {

// With no port at all a search ends at once; the next one waits until this much time has
// passed since the last began, so the page neither spins nor beeps without pause.
constexpr int kMinRoundMs = 1000;
enum Timer : int { kSearchTimer = 1 };

}  // namespace

CErrorPage::CErrorPage() : CWizardPage(GetTemplate(IDD_ERROR)) {
    OnClicked(IDC_WORK_WITHOUT_UNIT, [this] { WorkWithoutUnit(); });
    OnClicked(IDC_DEMO_UNIT, [this] { PracticeWithDemoUnit(); });
}

void CErrorPage::WorkWithoutUnit() {
    if (m_pSheet->WorkWithoutUnit(GetSafeHwnd()))
        m_pSheet->SetActivePage(m_pSheet->page(PageId::Welcome));
}

void CErrorPage::PracticeWithDemoUnit() {
    if (m_pSheet->PracticeWithDemoUnit()) {
        m_pSheet->SetActivePage(m_pSheet->page(PageId::Welcome));
        return;
    }
    ui::MessageBox(GetSafeHwnd(), AfxWorkText(worktext::kNoUnitInProgram),
                   AfxWorkText(worktext::kDemoButton), ui::MessageIcon::Error);
}

void CErrorPage::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_ERROR_MESSAGE, m_strMessage);
}

bool CErrorPage::OnSetActive() {
    if (!CWizardPage::OnSetActive()) return false;
    PostButtons(ui::PSWIZB_DISABLEDFINISH);
    m_strMessage = Text("002");
    SetDlgItemText(IDC_WORK_WITHOUT_UNIT, AfxWorkText(worktext::kWithoutUnit));
    SetDlgItemText(IDC_DEMO_UNIT, AfxWorkText(worktext::kDemoButton));
    for (int id : {IDC_WORK_WITHOUT_UNIT, IDC_DEMO_UNIT})
        ShowItem(id, m_pSheet->workMode() == WorkMode::Cable);
    // Several pages may give up at once: one search chain serves them all.
    if (!m_bSearching) Search();
    UpdateData(false);
    return true;
}

void CErrorPage::Search() {
    m_bSearching = true;
    m_roundStart = std::chrono::steady_clock::now();
    m_pSheet->m_link.RequestScan(handle());
}

void CErrorPage::OnTimer(int id) {
    KillTimer(id);
    if (m_pSheet->GetActivePage() == this)
        Search();
    else
        m_bSearching = false;
}

std::intptr_t CErrorPage::OnLinkResult(const LinkAnswer& answer) {
    // The installer is elsewhere by now: the answer neither moves the wizard nor searches on.
    if (m_pSheet->GetActivePage() != this) {
        m_bSearching = false;
        return 0;
    }
    if (answer.code == LinkResult::Scanned && answer.ok) {
        m_bSearching = false;
        m_pSheet->m_nComPort = answer.port();
        m_pSheet->SetActivePage(m_pSheet->page(PageId::Welcome));
    } else {
        ShowPortFailures();
        using namespace std::chrono;
        const long long left =
            m_roundStart
                ? kMinRoundMs -
                      duration_cast<milliseconds>(steady_clock::now() - *m_roundStart).count()
                : 0;
        if (left > 0)
            SetTimer(kSearchTimer, static_cast<int>(left));
        else
            Search();
        ui::MessageBeep();
    }
    return 0;
}

void CErrorPage::ShowPortFailures() {
    const std::string ports = PortFailureLines(m_pSheet->openFailures(), m_pSheet->m_strLangFile);
    // Rewritten only when it changed, so a list scrolled down stays where it is.
    if (GetDlgItemText(IDC_ERROR_PORTS) != ports) SetDlgItemText(IDC_ERROR_PORTS, ports);
    ShowItem(IDC_ERROR_PORTS, !ports.empty());
}
