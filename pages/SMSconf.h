// The SMS page: up to four recipient numbers, the events each is sent, and two options.
#pragma once

#include "pages/PhoneBook.h"

class CSMSconf : public CPhoneBook {
  public:
    bool OnInitDialog() override;
    bool OnSetActive() override;

    static const RowLayout kRows;

  protected:
    void Store() override;
};
