#include "pages/DTMFconf.h"

#include "resources/Resource.h"
#include "resources/Templates.h"

CDTMFconf::CDTMFconf() : CWizardPage(GetTemplate(IDD_PHONEBOOK)) {}

bool CDTMFconf::OnSetActive() {
    PostButtons(ui::PSWIZB_BACK | ui::PSWIZB_NEXT);
    return CWizardPage::OnSetActive();
}
