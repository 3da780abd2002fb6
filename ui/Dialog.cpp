#include "ui/Dialog.h"

#include <QCloseEvent>
#include <QDialog>

#include "ui/Services.h"

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

private:
    Dialog& m_owner;
};

Dialog::Dialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : Window(dialogTemplate), m_parent(parent) {
    OnClicked(IDOK, [this] { OnOK(); });
    OnClicked(IDCANCEL, [this] { OnCancel(); });
}

int Dialog::DoModal() {
    m_frame = new Frame(*this, m_parent);
    CreateWindowFromTemplate(m_frame);
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

bool Dialog::OnInitDialog() { return UpdateData(false); }

void Dialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

}  // namespace ui
