// The DTMF page: up to four numbers, each with a 4-character account code and its own events,
// a choice between two variants of the protocol, and two options.
#pragma once

#include "pages/ProtocolBook.h"

class CDTMFconf : public CProtocolBook {
  public:
    CDTMFconf();
};
