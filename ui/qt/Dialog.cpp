#include "ui/Dialog.h"

#include <QCloseEvent>
#include <QDialog>

#include "ui/Services.h"
#include "ui/qt/Controls.h"
#include "ui/qt/WindowImpl.h"

namespace ui {

class Dialog::Frame : public QDialog {
  public:
    Frame(Dialog& owner, QWidget* parent) : QDialog(parent), m_owner(owner) {
        setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    }

  protected:
    void reject() override { m_owner.OnCancel(); }
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        m_owner.OnCancel();
    }
    // Enter presses the focused push button, else OK, drawn as a picture or not.
    void keyPressEvent(QKeyEvent* event) override {
        if (!PressesDefault(*event)) return QDialog::keyPressEvent(event);
        if (ClickFocusedPushButton(this)) return;
        if (auto* ok = qobject_cast<QAbstractButton*>(m_owner.impl().Control(IDOK));
            ok && ok->isVisible() && ok->isEnabled())
            ok->click();
    }

  private:
    Dialog& m_owner;
};

int Dialog::DoModal() {
    m_frame = new Frame(*this, WidgetOf(m_parent));
    Impl::Create(*this, m_frame);
    int result = IDCANCEL;
    if (OnInitDialog()) {
        NotifyModalStarted(*this);
        result = m_frame->exec();
    }
    m_frame = nullptr;
    DestroyWindow();
    return result;
}

void Dialog::EndDialog(int result) {
    if (m_frame) m_frame->done(result);
}

}  // namespace ui
