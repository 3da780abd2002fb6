#include "transfer/ChangesDlg.h"

#include "app/MainSheet.h"
#include "resources/Resource.h"
#include "resources/Templates.h"
#include "transfer/Review.h"

CChangesDlg::CChangesDlg(std::string text, bool againstFile, ui::Hwnd parent)
    : ui::Dialog(GetTemplate(IDD_CHANGES), parent),
      m_strText(std::move(text)),
      m_bAgainstFile(againstFile) {}

bool CChangesDlg::OnInitDialog() {
    if (!ui::Dialog::OnInitDialog()) return false;
    const std::filesystem::path& langFile = AfxGetMainSheet()->m_strLangFile;
    SetWindowText(ReviewLangText(langFile, review::kChangesCaption));
    SetDlgItemText(IDC_CHANGES_LABEL,
                   ReviewLangText(langFile, m_bAgainstFile ? review::kFileChangesHeading
                                                           : review::kChangesHeading));
    SetDlgItemText(IDC_CHANGES_TEXT, m_strText);
    return true;
}
