// The Contact-ID-via-SMS page: up to four recipient numbers, each with a 4-character account
// code and its own events, and two options.
#pragma once

#include "pages/PhoneBook.h"

class CRC_SMSConf : public CPhoneBook {
public:
    bool OnInitDialog() override;
    bool OnSetActive() override;
    int OnWizardBack() override { return Store(); }
    int OnWizardNext() override { return Store(); }

    static const RowLayout kRows;

private:
    int Store();
};
