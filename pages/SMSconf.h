// The SMS page: up to four recipient numbers, the events each is sent, and two options.
#pragma once

#include "pages/PhoneBook.h"

class CSMSconf : public CPhoneBook {
public:
    bool OnInitDialog() override;
    bool OnSetActive() override;
    int OnWizardBack() override { return Store(); }
    int OnWizardNext() override { return Store(); }

    static const RowLayout kRows;

private:
    int Store();
};
