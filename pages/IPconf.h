// The IP page: the GPRS access point with its user and password, up to four destinations each
// with an account code and its own events, and two options.
#pragma once

#include "device/Fields.h"
#include "pages/ProtocolBook.h"

class CIPconf : public CProtocolBook {
  public:
    CIPconf();
    bool OnInitDialog() override;

    static constexpr int kLoginFieldMax = 32;

  protected:
    void Store() override;

  private:
    // Each of the three login edits takes only as much as still fits the login slot.
    void LimitLogin();
};

// apnLogin is "access point[,user[:password]]"; a password without a user is not kept.
using fields::ApnLogin;
using fields::JoinApnLogin;
using fields::SplitApnLogin;
