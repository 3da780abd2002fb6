// The Contact-ID-via-SMS page: up to four recipient numbers, each with a 4-character account
// code and its own events, and two options.
#pragma once

#include "pages/PhoneBook.h"

class CRC_SMSConf : public CPhoneBook {
  public:
    bool OnInitDialog() override;
    bool OnSetActive() override;

    static const RowLayout kRows;

  protected:
    void Store() override;
};
