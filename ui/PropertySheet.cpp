#include "ui/PropertySheet.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Controls.h"
#include "ui/Services.h"

namespace ui {

namespace {
constexpr int kWizardFinished = 0x3025;  // what DoModal answers after Finish
}

bool PropertyPage::OnInitDialog() {
    UpdateData(false);
    return true;
}
bool PropertyPage::OnSetActive() { return true; }
int PropertyPage::OnWizardBack() { return kWizardDefault; }
int PropertyPage::OnWizardNext() { return kWizardDefault; }
bool PropertyPage::OnWizardFinish() { return true; }

// The sheet's window: the page area above a row of wizard buttons. The close box and Escape
// do nothing; the wizard ends through its buttons.
class PropertySheet::Frame : public QDialog {
public:
    explicit Frame(PropertySheet& sheet) : m_sheet(sheet) {
        auto* layout = new QVBoxLayout(this);
        pageArea = new QWidget(this);
        layout->addWidget(pageArea, 1);
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        layout->addWidget(line);
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        // QWizard's own texts, so Qt's translations give them the desktop's language.
        back = AddButton(row, QCoreApplication::translate("QWizard", "< &Back"), "back");
        next = AddButton(row, QCoreApplication::translate("QWizard", "&Next >"), "next");
        finish = AddButton(row, QCoreApplication::translate("QWizard", "&Finish"), "finish");
        row->addSpacing(12);
        cancel = AddButton(row, QCoreApplication::translate("QWizard", "Cancel"), "cancel");
        layout->addLayout(row);
        next->setDefault(true);
        QObject::connect(back, &QPushButton::clicked, this, [this] { m_sheet.PressBack(); });
        QObject::connect(next, &QPushButton::clicked, this, [this] { m_sheet.PressNext(); });
        QObject::connect(finish, &QPushButton::clicked, this, [this] { m_sheet.PressFinish(); });
        QObject::connect(cancel, &QPushButton::clicked, this, [this] { m_sheet.PressCancel(); });
    }

    void FitPage(QSize size) {
        if (size.width() <= pageArea->minimumWidth() && size.height() <= pageArea->minimumHeight())
            return;
        pageArea->setMinimumSize(size.expandedTo(pageArea->minimumSize()));
    }

    QWidget* pageArea;
    QPushButton* back;
    QPushButton* next;
    QPushButton* finish;
    QPushButton* cancel;

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
    void reject() override {}

private:
    QPushButton* AddButton(QHBoxLayout* row, const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        row->addWidget(button);
        return button;
    }

    PropertySheet& m_sheet;
};

PropertySheet::PropertySheet() : m_frame(std::make_unique<Frame>(*this)) {
    SetWizardButtons(0);
}

PropertySheet::~PropertySheet() = default;

QDialog* PropertySheet::dialog() const { return m_frame.get(); }

void PropertySheet::AddPage(PropertyPage* page) {
    page->m_sheet = this;
    m_pages.push_back(page);
    const auto& t = page->dialogTemplate();
    m_frame->FitPage(DialogUnits(m_frame->font()).ToPixels(t.width, t.height));
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

void PropertySheet::RemovePage(PropertyPage* page) { RemovePage(GetPageIndex(page)); }

int PropertySheet::GetPageIndex(const PropertyPage* page) const {
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_pages[static_cast<std::size_t>(i)] == page) return i;
    return -1;
}

PropertyPage* PropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

bool PropertySheet::SetActivePage(int index) { return SetActivePage(GetPage(index)); }

bool PropertySheet::SetActivePage(PropertyPage* page) {
    if (!page || GetPageIndex(page) < 0) return false;
    if (!page->GetSafeHwnd()) {
        auto* window = new QWidget(m_frame->pageArea);
        window->hide();
        page->CreateWindowFromTemplate(window);
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
    for (PropertyPage* p : m_pages)
        if (p->GetSafeHwnd()) p->GetSafeHwnd()->setVisible(p == m_active);
    if (automation().onPageActivated && m_active == page) automation().onPageActivated(*page);
    return true;
}

void PropertySheet::SetTitle(const QString& title) { m_frame->setWindowTitle(title); }

void PropertySheet::SetIcon(const QString& resource) { m_frame->setWindowIcon(LoadIcon(resource)); }

void PropertySheet::PostSetWizardButtons(unsigned flags) {
    QMetaObject::invokeMethod(m_frame.get(), [this, flags] { SetWizardButtons(flags); },
                              Qt::QueuedConnection);
}

void PropertySheet::SetWizardButtons(unsigned flags) {
    m_buttons = flags;
    m_frame->back->setEnabled(flags & PSWIZB_BACK);
    const bool finishing = flags & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH);
    m_frame->next->setVisible(!finishing);
    m_frame->next->setEnabled(flags & PSWIZB_NEXT);
    m_frame->finish->setVisible(finishing);
    m_frame->finish->setEnabled(flags & PSWIZB_FINISH);
}

int PropertySheet::DoModal(int startPage) {
    m_frame->adjustSize();
    SetActivePage(startPage);
    return m_frame->exec();
}

void PropertySheet::Create(int startPage) {
    m_frame->adjustSize();
    m_frame->setResult(-1);
    m_frame->show();
    SetActivePage(startPage);
}

bool PropertySheet::IsEnded() const { return m_frame->result() != -1 && !m_frame->isVisible(); }

void PropertySheet::EndDialog(int result) { m_frame->done(result); }

void PropertySheet::Navigate(int answer, int step) {
    if (answer != kWizardDefault) return;
    SetActivePage(GetActiveIndex() + step);
}

void PropertySheet::PressBack() {
    if (!m_active || !m_frame->back->isEnabled()) return;
    PropertyPage* from = m_active;
    const int answer = from->OnWizardBack();
    if (m_active == from) Navigate(answer, -1);
}

void PropertySheet::PressNext() {
    if (!m_active || !m_frame->next->isEnabled() || !m_frame->next->isVisible()) return;
    PropertyPage* from = m_active;
    const int answer = from->OnWizardNext();
    if (m_active == from) Navigate(answer, +1);
}

void PropertySheet::PressFinish() {
    if (!m_active || !m_frame->finish->isEnabled() || !m_frame->finish->isVisible()) return;
    if (m_active->OnWizardFinish()) EndDialog(kWizardFinished);
}

void PropertySheet::PressCancel() { EndDialog(IDCANCEL); }

}  // namespace ui
