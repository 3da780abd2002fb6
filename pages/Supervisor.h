// The supervisor page: ten supervisor numbers each with its password, the three scenario
// buttons with the user account password, and the supervisor option.
#pragma once

#include "pages/PhoneBook.h"

class CSupervisor : public CPhoneBook {
  public:
    CSupervisor();
    bool OnInitDialog() override;

    static const RowLayout kRows;

  protected:
    void Store() override;

  private:
    void ShowStartScenario();
};
