#include "pages/RC_SMSConf.h"

#include "resources/Resource.h"
#include "resources/Templates.h"

CRC_SMSConf::CRC_SMSConf() : CWizardPage(GetTemplate(IDD_PHONEBOOK)) {}

bool CRC_SMSConf::OnSetActive() {
    PostButtons(ui::PSWIZB_BACK | ui::PSWIZB_NEXT);
    return CWizardPage::OnSetActive();
}
