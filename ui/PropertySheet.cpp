// The wizard's page flow, the same on every backend.
#include "ui/PropertySheet.h"

#include <algorithm>

#include "ui/Services.h"

namespace ui {

bool PropertyPage::OnInitDialog() {
    UpdateData(false);
    return true;
}
bool PropertyPage::OnSetActive() {
    return true;
}
int PropertyPage::OnWizardBack() {
    return kWizardDefault;
}
int PropertyPage::OnWizardNext() {
    return kWizardDefault;
}
bool PropertyPage::OnWizardFinish() {
    return true;
}

void PropertySheet::AddPage(PropertyPage* page) {
    page->m_sheet = this;
    m_pages.push_back(page);
    FitPage(page->dialogTemplate());
}

void PropertySheet::RemovePage(int index) {
    PropertyPage* page = GetPage(index);
    if (!page) return;
    page->DestroyWindow();
    m_pages.erase(m_pages.begin() + index);
    if (page == m_active) {
        m_active = nullptr;
        if (!m_pages.empty()) SetActivePage(std::min(index, GetPageCount() - 1));
    }
}

void PropertySheet::RemovePage(PropertyPage* page) {
    RemovePage(GetPageIndex(page));
}

int PropertySheet::GetPageIndex(const PropertyPage* page) const {
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_pages[static_cast<std::size_t>(i)] == page) return i;
    return -1;
}

PropertyPage* PropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<std::size_t>(index)]
                                                : nullptr;
}

bool PropertySheet::SetActivePage(int index) {
    return SetActivePage(GetPage(index));
}

bool PropertySheet::SetActivePage(PropertyPage* page) {
    if (!page || GetPageIndex(page) < 0) return false;
    if (!page->GetSafeHwnd()) {
        if (!CreatePageWindow(*page)) return false;
        if (!page->OnInitDialog()) {
            page->DestroyWindow();
            return false;
        }
    }
    PropertyPage* previous = m_active;
    m_active = page;
    if (!page->OnSetActive()) {
        m_active = previous;
        return false;
    }
    // The page may have moved the sheet on by itself; show whatever is active now.
    ShowActivePage();
    if (automation().onPageActivated && m_active == page) automation().onPageActivated(*page);
    return true;
}

bool PropertySheet::CanGoBack() const {
    return m_buttons & PSWIZB_BACK;
}

bool PropertySheet::CanGoNext() const {
    return (m_buttons & PSWIZB_NEXT) && !(m_buttons & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH));
}

bool PropertySheet::CanFinish() const {
    return m_buttons & PSWIZB_FINISH;
}

void PropertySheet::Navigate(int answer, int step) {
    if (answer != kWizardDefault) return;
    SetActivePage(GetActiveIndex() + step);
}

void PropertySheet::PressBack() {
    if (!m_active || !CanGoBack()) return;
    PropertyPage* from = m_active;
    const int answer = from->OnWizardBack();
    if (m_active == from) Navigate(answer, -1);
}

void PropertySheet::PressNext() {
    if (!m_active || !CanGoNext()) return;
    PropertyPage* from = m_active;
    const int answer = from->OnWizardNext();
    if (m_active == from) Navigate(answer, +1);
}

void PropertySheet::PressFinish() {
    if (!m_active || !CanFinish()) return;
    if (m_active->OnWizardFinish()) EndDialog(kWizardFinished);
}

void PropertySheet::PressCancel() {
    EndDialog(IDCANCEL);
}

}  // namespace ui
