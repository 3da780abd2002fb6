#include "pages/IPconf.h"

#include "resources/Resource.h"
#include "resources/Templates.h"

CIPconf::CIPconf() : CWizardPage(GetTemplate(IDD_PHONEBOOK)) {}

bool CIPconf::OnSetActive() {
    PostButtons(ui::PSWIZB_BACK | ui::PSWIZB_NEXT);
    return CWizardPage::OnSetActive();
}
