// The supervisor page: ten supervisor numbers each with its password, the three scenario
// buttons with the user account password, and the supervisor option.
#pragma once

#include "pages/PhoneBook.h"

class CSupervisor : public CPhoneBook {
public:
    CSupervisor();
    bool OnInitDialog() override;
    bool OnSetActive() override;
    int OnWizardBack() override { return Store(); }
    int OnWizardNext() override { return Store(); }

    static const RowLayout kRows;

private:
    void ShowStartScenario();
    int Store();
};
