#include "transfer/ErrorPage.h"

#include "resources/Resource.h"
#include "transfer/PortFailures.h"
#include "resources/Templates.h"
#include "ui/Services.h"

CErrorPage::CErrorPage() : CWizardPage(GetTemplate(IDD_ERROR)) {}

void CErrorPage::DoDataExchange(ui::DataExchange& dx) { dx.Text(IDC_ERROR_MESSAGE, m_strMessage); }

bool CErrorPage::OnSetActive() {
    if (!CWizardPage::OnSetActive()) return false;
    PostButtons(ui::PSWIZB_DISABLEDFINISH);
    m_strMessage = Text("002");
    Search();
    UpdateData(false);
    return true;
}

void CErrorPage::Search() {
    m_round.start();
    m_pSheet->m_link.RequestScan(handle());
}

void CErrorPage::OnTimer(int id) {
    KillTimer(id);
    Search();
}

std::intptr_t CErrorPage::OnLinkResult(int code, std::intptr_t value) {
    if (code == linkresult::kScanned && value != 0) {
        m_pSheet->m_nComPort = static_cast<int>(value);
        m_pSheet->SetActivePage(kWelcomePageIndex);
    } else {
        // Why this search found nothing, port by port.
        SetDlgItemText(IDC_ERROR_PORTS,
                       PortFailureLines(m_pSheet->openFailures(), m_pSheet->m_strLangFile));
        const auto left = m_round.isValid() ? kMinRoundMs - m_round.elapsed() : 0;
        if (left > 0)
            SetTimer(kSearchTimer, static_cast<int>(left));
        else
            Search();
        ui::MessageBeep();
    }
    return 0;
}
