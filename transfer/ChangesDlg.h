// Lists, before Finish, every field the upload will change in the unit, or, editing a site
// file without a unit, every field that differs from the opened file.
#pragma once

#include <string>

#include "ui/Dialog.h"

class CChangesDlg : public ui::Dialog {
  public:
    CChangesDlg(std::string text, bool againstFile, ui::Hwnd parent);

  protected:
    bool OnInitDialog() override;

  private:
    std::string m_strText;
    bool m_bAgainstFile;
};
