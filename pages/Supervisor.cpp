#include "pages/Supervisor.h"

#include "resources/Resource.h"
#include "resources/Templates.h"

CSupervisor::CSupervisor() : CWizardPage(GetTemplate(IDD_PHONEBOOK)) {}

bool CSupervisor::OnSetActive() {
    PostButtons(ui::PSWIZB_BACK | ui::PSWIZB_NEXT);
    return CWizardPage::OnSetActive();
}
