#include "pages/SMSconf.h"

#include "resources/Resource.h"

CSMSconf::CSMSconf() : CProtocolBook(protocols::kSms, {IDI_SMS, "500", "501"}) {}
