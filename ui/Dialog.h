// A modal dialog built from a template. OK (id 1) runs OnOK, Cancel (id 2), Escape and the
// close box run OnCancel.
//
// ui/Dialog.cpp defines the constructor, OnInitDialog, OnOK and OnCancel; each backend owes
// DoModal, EndDialog and Frame, in its Dialog.cpp.
#pragma once

#include "ui/Window.h"

namespace ui {

class Dialog : public Window {
  public:
    Dialog(const DialogTemplate& dialogTemplate, Hwnd parent);

    // Runs the dialog until EndDialog; its result (IDOK, IDCANCEL, ...).
    int DoModal();
    void EndDialog(int result);

  protected:
    // Moves member data to the controls; false fails the dialog.
    virtual bool OnInitDialog();
    // Takes the controls' data and closes with IDOK.
    virtual void OnOK();
    virtual void OnCancel();

  private:
    class Frame;
    Hwnd m_parent;
    Frame* m_frame = nullptr;
};

}  // namespace ui
