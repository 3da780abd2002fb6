#include "ui/Dialog.h"

namespace ui {

Dialog::Dialog(const DialogTemplate& dialogTemplate, Hwnd parent)
    : Window(dialogTemplate), m_parent(parent) {
    OnClicked(IDOK, [this] { OnOK(); });
    OnClicked(IDCANCEL, [this] { OnCancel(); });
}

bool Dialog::OnInitDialog() {
    return UpdateData(false);
}

void Dialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

}  // namespace ui
