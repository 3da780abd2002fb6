// Lists, before Finish, every field the upload will change in the unit.
#pragma once

#include <string>

#include "ui/Dialog.h"

class CChangesDlg : public ui::Dialog {
  public:
    CChangesDlg(std::string text, ui::Hwnd parent);

  protected:
    bool OnInitDialog() override;

  private:
    std::string m_strText;
};
