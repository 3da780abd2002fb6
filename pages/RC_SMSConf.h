// The Contact-ID-via-SMS page: up to four recipient numbers, each with a 4-character account
// code and its own events, and two options.
#pragma once

#include "pages/ProtocolBook.h"

class CRC_SMSConf : public CProtocolBook {
  public:
    CRC_SMSConf();
};
