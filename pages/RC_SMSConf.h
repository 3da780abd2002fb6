// PLACEHOLDER: the Contact-ID-via-SMS page is filled by the phone book and protocol pages work; until
// then it is an empty phone book page that lets the wizard pass.
#pragma once

#include "app/WizardPage.h"

class CRC_SMSConf : public CWizardPage {
public:
    CRC_SMSConf();
    bool OnSetActive() override;
};
