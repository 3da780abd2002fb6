#include "app/WizardPage.h"

bool CWizardPage::OnInitDialog() {
    m_pSheet = AfxGetMainSheet();
    return ui::PropertyPage::OnInitDialog();
}

std::intptr_t CWizardPage::OnMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    if (message == WM_LINK_RESULT) return OnLinkResult(LinkAnswer::Of(wParam, lParam));
    return ui::PropertyPage::OnMessage(message, wParam, lParam);
}

std::intptr_t CWizardPage::OnLinkResult(const LinkAnswer&) {
    return 0;
}

std::string CWizardPage::Text(std::string_view section, std::size_t bufferSize) const {
    return LangText(m_pSheet->m_strLangFile, section, bufferSize);
}

void CWizardPage::SetText(int id, std::string_view section) {
    SetDlgItemText(id, Text(section));
}
