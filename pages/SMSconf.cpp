#include "pages/SMSconf.h"

#include "resources/Resource.h"
#include "resources/Templates.h"

CSMSconf::CSMSconf() : CWizardPage(GetTemplate(IDD_PHONEBOOK)) {}

bool CSMSconf::OnSetActive() {
    PostButtons(ui::PSWIZB_BACK | ui::PSWIZB_NEXT);
    return CWizardPage::OnSetActive();
}
