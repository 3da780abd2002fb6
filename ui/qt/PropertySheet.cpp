#include "ui/PropertySheet.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "ui/WizardFrame.h"
#include "ui/qt/Ansi.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Testing.h"
#include "ui/qt/WindowImpl.h"

namespace ui {

// The sheet's window: the page area above a row of wizard buttons. The close box and Escape
// do nothing; the wizard ends through its buttons. Keys work as in a Windows wizard: a new
// page takes the focus on its first control, Enter presses the focused push button or else
// Next / Finish.
class PropertySheet::Frame : public QDialog {
  public:
    Frame(PropertySheet& sheet, QWidget* parent) : QDialog(parent), m_sheet(sheet) {
        auto* layout = new QVBoxLayout(this);
        pageArea = new QWidget(this);
        layout->addWidget(pageArea, 1);
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        layout->addWidget(line);
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        const DialogUnits units(font());
        for (const wizard::FrameButton& b : wizard::ButtonsFor(DesktopLanguage())) {
            if (b.role == wizard::Role::Cancel)
                row->addSpacing(units.ToPixels(wizard::kCancelGap, 0).width());
            Slot(b.role) = AddButton(row, QString::fromUtf8(b.text), b.name);
        }
        layout->addLayout(row);
        Slot(wizard::kFirstDefault)->setDefault(true);
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

    // The page's first control that takes Tab, else a button.
    void FocusPage(QWidget* page) {
        for (QWidget* w = page ? page->nextInFocusChain() : nullptr; w && w != page;
             w = w->nextInFocusChain()) {
            if (!page->isAncestorOf(w)) continue;
            if (TakesFocus(w)) return w->setFocus(Qt::TabFocusReason);
        }
        FocusButton();
    }

    // After the buttons changed: a focus that went with a button goes to the default one.
    void KeepFocus(QWidget* had) {
        const bool wasButton = had == back || had == next || had == finish || had == cancel;
        QWidget* focus = focusWidget();
        if (!focus || (wasButton && !TakesFocus(had))) FocusButton();
    }

    // The default button when it is offered, else the first button that is.
    void FocusButton() {
        for (QPushButton* button : {Default(), back, next, finish, cancel})
            if (TakesFocus(button)) return button->setFocus(Qt::TabFocusReason);
    }

    QPushButton* Default() const { return finish->isVisibleTo(this) ? finish : next; }

    QWidget* pageArea;
    QPushButton* back;
    QPushButton* next;
    QPushButton* finish;
    QPushButton* cancel;

  protected:
    // Run modally, the sheet makes its first page active before it shows: the page takes the
    // focus once it can, or the dialog would give it to the first enabled button, Cancel.
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        if (PropertyPage* page = m_sheet.GetActivePage(); page && !event->spontaneous())
            FocusPage(WidgetOf(*page));
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
    void reject() override {}
    void keyPressEvent(QKeyEvent* event) override {
        if (!PressesDefault(*event)) return QDialog::keyPressEvent(event);
        if (!ClickFocusedPushButton(this) && Default()->isEnabled()) Default()->click();
    }

  private:
    // The desktop's language, as Qt's own translations take it.
    static std::string DesktopLanguage() {
        return QLocale::system().uiLanguages().value(0).toStdString();
    }

    QPushButton*& Slot(wizard::Role role) {
        switch (role) {
            case wizard::Role::Back:
                return back;
            case wizard::Role::Next:
                return next;
            case wizard::Role::Finish:
                return finish;
            case wizard::Role::Cancel:
                break;
        }
        return cancel;
    }

    static bool TakesFocus(QWidget* w) {
        return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
    }

    QPushButton* AddButton(QHBoxLayout* row, const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        row->addWidget(button);
        return button;
    }

    PropertySheet& m_sheet;
};

PropertySheet::PropertySheet(Hwnd parent)
    : m_frame(std::make_unique<Frame>(*this, WidgetOf(parent))) {
    SetWizardButtons(0);
}

PropertySheet::~PropertySheet() = default;

void PropertySheet::FitPage(const DialogTemplate& t) {
    m_frame->FitPage(DialogUnits(m_frame->font()).ToPixels(t.width, t.height));
}

bool PropertySheet::CreatePageWindow(PropertyPage& page) {
    auto* window = new QWidget(m_frame->pageArea);
    window->hide();
    Window::Impl::Create(page, window);
    return true;
}

void PropertySheet::ShowActivePage() {
    for (PropertyPage* p : m_pages)
        if (QWidget* w = WidgetOf(*p)) w->setVisible(p == m_active);
    m_frame->FocusPage(m_active ? WidgetOf(*m_active) : nullptr);
}

void PropertySheet::SetTitle(std::string_view title) {
    m_frame->setWindowTitle(DecodeAnsi(title));
}

std::string PropertySheet::GetTitle() const {
    return EncodeAnsi(m_frame->windowTitle());
}

void PropertySheet::SetIcon(std::string_view resource) {
    m_frame->setWindowIcon(LoadIcon(resource));
}

void PropertySheet::PostSetWizardButtons(unsigned flags) {
    QMetaObject::invokeMethod(
        m_frame.get(), [this, flags] { SetWizardButtons(flags); }, Qt::QueuedConnection);
}

void PropertySheet::SetWizardButtons(unsigned flags) {
    QWidget* had = m_frame->focusWidget();
    m_buttons = flags;
    m_frame->back->setEnabled(CanGoBack());
    const bool finishing = flags & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH);
    m_frame->next->setVisible(!finishing);
    m_frame->next->setEnabled(flags & PSWIZB_NEXT);
    m_frame->finish->setVisible(finishing);
    m_frame->finish->setEnabled(CanFinish());
    m_frame->finish->setDefault(finishing);
    m_frame->next->setDefault(!finishing);
    m_frame->KeepFocus(had);
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

bool PropertySheet::IsEnded() const {
    return m_frame->result() != -1 && !m_frame->isVisible();
}

void PropertySheet::EndDialog(int result) {
    m_frame->done(result);
}

QDialog* SheetWindow(const PropertySheet& sheet) {
    return &sheet.frame();
}

}  // namespace ui
