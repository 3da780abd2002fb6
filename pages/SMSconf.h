// The SMS page: up to four recipient numbers, the events each is sent, and two options.
#pragma once

#include "pages/ProtocolBook.h"

class CSMSconf : public CProtocolBook {
  public:
    CSMSconf();
};
