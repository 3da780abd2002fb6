#include "pages/SMSconf.h"

CSMSconf::CSMSconf() : CProtocolBook(protocols::kSms) {}
