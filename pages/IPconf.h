// PLACEHOLDER: the IP page is filled by the phone book and protocol pages work; until
// then it is an empty phone book page that lets the wizard pass.
#pragma once

#include "app/WizardPage.h"

class CIPconf : public CWizardPage {
public:
    CIPconf();
    bool OnSetActive() override;
};
